#include "framework/qt/DialogUnits.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace quolix {
namespace {

struct Conversion {
    int baseX, baseY;
    int x, y, cx, cy;
    QRect pixels;
};

class DialogUnitConversion : public testing::TestWithParam<Conversion> {};

// Each value is x base / 4 (across) or y base / 8 (down), halves rounded away
// from zero, extents converted on their own.
TEST_P(DialogUnitConversion, RoundsEachValueToTheNearestPixel) {
    const Conversion& c = GetParam();
    EXPECT_EQ(DialogUnits(c.baseX, c.baseY).Rect(c.x, c.y, c.cx, c.cy), c.pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogUnitConversion,
    testing::Values(Conversion{7, 13, 239, 231, 50, 14, QRect(418, 375, 88, 23)},
                    Conversion{6, 12, 239, 231, 50, 14, QRect(359, 347, 75, 21)},
                    Conversion{6, 12, 1, 1, 3, 3, QRect(2, 2, 5, 5)},  // 1.5 and 4.5 round up
                    Conversion{7, 13, 0, 0, 303, 259, QRect(0, 0, 530, 421)},
                    Conversion{6, 12, -1, -1, 0, 0, QRect(-2, -2, 0, 0)}));  // -1.5 -> -2

TEST(DialogUnits, AreMeasuredFromTheFont) {
    const QFont font = DialogUnits::DialogFont(96);
    const QFontMetrics metrics(font);
    const DialogUnits units(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(units.BaseX(), (letters / 26 + 1) / 2);
    EXPECT_EQ(units.BaseY(), metrics.height());
}

TEST(DialogUnits, DialogFontIsTheTemplateFaceAtNinePoints) {
    EXPECT_EQ(DialogUnits::DialogFont(96).family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(DialogUnits::DialogFont(96).pixelSize(), 12);
    EXPECT_EQ(DialogUnits::DialogFont(120).pixelSize(), 15);
    EXPECT_EQ(DialogUnits::DialogFont(144).pixelSize(), 18);
}

TEST(DialogUnits, WidenedToFitGrowsOnlyTheWidth) {
    QCheckBox box(QStringLiteral("カラープリンタを使用"));
    const QRect narrow(10, 20, 5, 7);
    const QRect widened = DialogUnits::WidenedToFit(narrow, box);
    EXPECT_EQ(widened.topLeft(), narrow.topLeft());
    EXPECT_EQ(widened.height(), narrow.height());
    EXPECT_EQ(widened.width(), box.sizeHint().width());
    const QRect wide(10, 20, 1000, 7);
    EXPECT_EQ(DialogUnits::WidenedToFit(wide, box), wide);
}

}  // namespace
}  // namespace quolix
