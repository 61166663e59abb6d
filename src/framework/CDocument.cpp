#include "framework/CDocument.h"

#include <algorithm>

#include "framework/CView.h"

namespace quolix {

CDocument::~CDocument() {
    // Views outlive nothing of ours: make sure none keeps pointing here.
    for (CView* view : std::vector<CView*>(views_)) {
        view->AttachDocument(nullptr);
    }
}

int CDocument::OnNewDocument() {
    pathName_.clear();
    return 1;
}

void CDocument::Serialize(Archive&) {}

void CDocument::UpdateAllViews(CView* sender, int hint) {
    // A copy: a view may detach itself while it is told.
    for (CView* view : std::vector<CView*>(views_)) {
        if (view != sender) {
            view->OnUpdate(sender, hint);
        }
    }
}

void CDocument::AddView(CView* view) {
    if (view != nullptr && std::find(views_.begin(), views_.end(), view) == views_.end()) {
        views_.push_back(view);
    }
}

void CDocument::RemoveView(CView* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

}  // namespace quolix
