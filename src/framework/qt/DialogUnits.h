#pragma once

#include <cstdint>

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace quolix {

// Dialog templates give positions in dialog units: a quarter of the dialog
// font's average character width across, an eighth of its height down. Each
// coordinate and each extent is converted on its own and rounded to the
// nearest pixel (halves away from zero), as the platform the templates were
// drawn for does, so controls land where the template puts them.
class DialogUnits {
  public:
    // The font every dialog template names: "ＭＳ Ｐゴシック", 9 point, sized in
    // pixels for the given logical DPI (the font substitutions pick the face).
    static QFont DialogFont(int32_t dpiY);

    // Base units measured from a font: the average width of the 52 Latin
    // letters, rounded, and the font's height (ascent plus descent).
    explicit DialogUnits(const QFont& font);
    // Base units given directly.
    DialogUnits(int baseX, int baseY);

    int BaseX() const { return baseX_; }
    int BaseY() const { return baseY_; }

    int X(int units) const;
    int Y(int units) const;
    QPoint Point(int x, int y) const { return QPoint(X(x), Y(y)); }
    QSize Size(int cx, int cy) const { return QSize(X(cx), Y(cy)); }
    QRect Rect(int x, int y, int cx, int cy) const { return QRect(Point(x, y), Size(cx, cy)); }

    bool operator==(const DialogUnits& other) const = default;

    // The template's rectangle, widened to the right when the control's text
    // needs more room: the substitute face and the style's check and radio
    // indicators can be wider than what the template was drawn with. Position
    // and height stay as the template gives them; nothing is ever narrowed.
    static QRect WidenedToFit(const QRect& rect, const QWidget& control);

  private:
    int baseX_;
    int baseY_;
};

}  // namespace quolix
