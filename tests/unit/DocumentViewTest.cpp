#include <vector>

#include <gtest/gtest.h>

#include "framework/CDocument.h"
#include "framework/CView.h"
#include "unit/FakeWindowServices.h"

namespace quolix {
namespace {

class NotedView : public CView {
  public:
    void OnDraw(DeviceContext&) override {}
    void OnUpdate(CView* sender, int hint) override {
        senders.push_back(sender);
        hints.push_back(hint);
        CView::OnUpdate(sender, hint);
    }
    std::vector<CView*> senders;
    std::vector<int> hints;
};

TEST(DocumentViewTest, UpdateAllViewsTellsEveryViewButTheSenderWhichRepaints) {
    CDocument doc;
    testing::FakeWindowServices window;
    NotedView first;
    NotedView second;
    first.AttachWindow(&window);
    second.AttachWindow(&window);
    first.AttachDocument(&doc);
    second.AttachDocument(&doc);

    doc.UpdateAllViews(&first, 7);
    EXPECT_TRUE(first.hints.empty());
    EXPECT_EQ(second.hints, std::vector<int>{7});
    EXPECT_EQ(second.senders, std::vector<CView*>{&first});
    EXPECT_EQ(window.invalidations, 1);

    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(first.hints, std::vector<int>{0});
    EXPECT_EQ(second.hints, (std::vector<int>{7, 0}));
    EXPECT_EQ(window.invalidations, 3);

    second.AttachDocument(nullptr);
    doc.UpdateAllViews(nullptr, 2);
    EXPECT_EQ(second.hints.size(), 2u);
    EXPECT_EQ(first.hints.size(), 2u);
}

}  // namespace
}  // namespace quolix
