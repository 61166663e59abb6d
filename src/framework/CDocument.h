#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/CommandTarget.h"

namespace quolix {

class Archive;
class CView;

// The document half of the document/view pair: knows its views and its file.
// Second stop on the command route, after the view.
class CDocument : public CommandTarget {
  public:
    CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;
    virtual ~CDocument();

    // The framework's new-document step: forgets the file name. 1 on success.
    virtual int OnNewDocument();
    virtual void Serialize(Archive& archive);
    // What a message says, after the file's name (UTF-8), of a file that is
    // not of this document's kind; empty: it calls the file damaged.
    virtual std::string_view ForeignFileText() const { return {}; }

    // Tells every view but sender (which may be null) that the document has
    // changed, through CView::OnUpdate; hint says how (0: in general).
    void UpdateAllViews(CView* sender, int hint = 0);

    void AddView(CView* view);
    void RemoveView(CView* view);
    CView* GetFirstView() const { return views_.empty() ? nullptr : views_.front(); }

    const std::string& GetPathName() const { return pathName_; }
    void SetPathName(const std::string& path) { pathName_ = path; }

    // Whether the document holds data that no file has; every change that
    // marks it counts, so a copy can tell whether it is behind.
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true) {
        modified_ = modified;
        if (modified) {
            ++changes_;
        }
    }
    unsigned long long ChangeCount() const { return changes_; }

  private:
    std::vector<CView*> views_;
    std::string pathName_;
    bool modified_ = false;
    unsigned long long changes_ = 0;
};

}  // namespace quolix
