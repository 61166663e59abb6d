#include "framework/CView.h"

#include "framework/CDocument.h"
#include "framework/WindowServices.h"

namespace quolix {

CView::~CView() {
    AttachDocument(nullptr);
}

void CView::AttachDocument(CDocument* document) {
    if (document_ == document) {
        return;
    }
    CDocument* previous = document_;
    document_ = nullptr;
    if (previous != nullptr) {
        previous->RemoveView(this);
    }
    document_ = document;
    if (document_ != nullptr) {
        document_->AddView(this);
    }
}

void CView::OnUpdate(CView*, int) {
    if (window_ != nullptr) {
        window_->Invalidate();
    }
}

}  // namespace quolix
