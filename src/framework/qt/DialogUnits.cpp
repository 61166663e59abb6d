#include "framework/qt/DialogUnits.h"

#include <algorithm>

#include <QFontMetrics>
#include <QString>
#include <QWidget>

namespace quolix {
namespace {

// value x numerator / denominator in 64 bits, rounded half away from zero.
int MulDiv(int value, int numerator, int denominator) {
    const int64_t product = static_cast<int64_t>(value) * numerator;
    const int64_t half = denominator / 2;
    const int64_t rounded =
        product >= 0 ? (product + half) / denominator : (product - half) / denominator;
    return static_cast<int>(rounded);
}

constexpr int DialogFontPoints = 9;

}  // namespace

QFont DialogUnits::DialogFont(int32_t dpiY) {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    // The character height of a point size, as the platform sizes dialog fonts.
    font.setPixelSize(MulDiv(DialogFontPoints, dpiY, 72));
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = (letters / 26 + 1) / 2;
    baseY_ = metrics.height();
}

DialogUnits::DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}

QRect DialogUnits::WidenedToFit(const QRect& rect, const QWidget& control) {
    QRect fitted = rect;
    fitted.setWidth(std::max(rect.width(), control.sizeHint().width()));
    return fitted;
}

int DialogUnits::X(int units) const {
    return MulDiv(units, baseX_, 4);
}

int DialogUnits::Y(int units) const {
    return MulDiv(units, baseY_, 8);
}

}  // namespace quolix
