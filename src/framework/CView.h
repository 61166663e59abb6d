#pragma once

#include <cstdint>

#include "framework/CommandTarget.h"

namespace quolix {

class CDocument;
class DeviceContext;
class WindowServices;

// The view half of the document/view pair. The host attaches the document and
// the window services before it forwards any window event. Views are the
// first stop on the command route.
class CView : public CommandTarget {
  public:
    CView() = default;
    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;
    virtual ~CView();

    void AttachDocument(CDocument* document);
    CDocument* GetDocument() const { return document_; }

    void AttachWindow(WindowServices* window) { window_ = window; }
    WindowServices* GetWindow() const { return window_; }

    // Window events, forwarded by the host. OnCreate returns -1 to refuse the
    // window, as the platform's creation handlers do.
    virtual int OnCreate() { return 0; }
    virtual void OnDestroy() {}
    virtual void OnTimer(uint32_t /*id*/) {}
    virtual void OnDraw(DeviceContext& dc) = 0;
    // The document has changed (CDocument::UpdateAllViews); by default the
    // whole view is repainted.
    virtual void OnUpdate(CView* sender, int hint);
    // Called around the drawing of a printed or previewed page.
    virtual void OnBeginPrinting() {}
    virtual void OnEndPrinting() {}

  private:
    CDocument* document_ = nullptr;
    WindowServices* window_ = nullptr;
};

}  // namespace quolix
