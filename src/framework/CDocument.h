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

  private:
    std::vector<CView*> views_;
    std::string pathName_;
};

}  // namespace quolix
