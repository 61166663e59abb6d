#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <QColor>
#include <QFont>
#include <QHash>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QStaticText>
#include <QString>

#include "framework/DeviceContext.h"
#include "framework/qt/DrawnTextMemory.h"
#include "framework/qt/QtFontCache.h"

class QPainter;

namespace quolix {

// The Japanese Gothic faces that stand in for the face the drawing code names
// ("ＭＳ Ｐゴシック"): IPAPGothic, then Noto Sans CJK JP. Call once after the
// QApplication exists and before anything draws; calling again changes nothing.
void InstallFontSubstitutions();

// The primary screen's logical vertical resolution in dots per inch, or 96
// without a screen. Fonts are sized with it on every device, printers included.
int32_t ScreenDpiY();

// dpiY x sizeTenths / 720, truncated toward zero, as a positive height.
int32_t FontPixelHeight(int32_t sizeTenths, int32_t dpiY);

// 0x00BBGGRR to a QColor.
QColor QColorFor(Colour colour);
// A solid pen; width 0 (or less) is a cosmetic one-pixel line, wider pens have
// round caps and joins.
QPen QPenFor(const Pen& pen);
// The face name (CP932) is kept as the family, so the substitutions above pick
// the actual font; the pixel size follows FontPixelHeight.
QFont QFontFor(const Font& font, int32_t dpiY);

// A DeviceContext drawing through a QPainter: a screen image, a printer page or
// a PDF. It saves the painter's state on construction and restores it on
// destruction. Lines use the selected pen; text is black on an opaque white box,
// its top-left corner at the given point. A window's context uses the window's
// fonts and, drawing onto its image, the image's memory of the texts it shows;
// otherwise (a printer page) fonts last as long as the context.
class QtDeviceContext : public DeviceContext {
  public:
    QtDeviceContext(QPainter& painter, int32_t screenDpiY, QtFontCache* fonts = nullptr,
                    DrawnTextMemory* texts = nullptr);
    QtDeviceContext(const QtDeviceContext&) = delete;
    QtDeviceContext& operator=(const QtDeviceContext&) = delete;
    ~QtDeviceContext() override;

    Pen SelectPen(const Pen& pen) override;
    Font SelectFont(const Font& font) override;
    int32_t FontHeight(const Font& font) override;
    void MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override;
    void TextOut(int32_t x, int32_t y, std::string_view text) override;

    // The part of the device drawn on since construction, so that a caller
    // can bring just that part to the screen: a few separate rectangles, not
    // their bounding box, since a new graph segment and the readout lie far apart.
    QRegion DrawnArea() const;

  private:
    void Covered(const QRect& area);
    void Drew(const QRect& area);

    QPainter& painter_;
    int32_t dpiY_;
    Pen pen_;
    Font font_;
    QPen linePen_;
    QPen textPen_;
    // Qt draws text with the pen; track which one the painter holds so that
    // runs of LineTo or TextOut do not switch pens at every call.
    bool textPenActive_ = false;
    QFont stockFont_;
    int stockAscent_ = 0;
    int ascent_ = 0;  // of the selected font, for the top-left anchoring
    // The laid-out texts of the selected font, or null for the stock font.
    QHash<QString, QStaticText>* laidOut_ = nullptr;
    QtFontCache ownFonts_;
    QtFontCache& fonts_;
    DrawnTextMemory* texts_;
    QPoint position_;
    // Kept apart up to a few; beyond that their bounding box, so that a whole
    // graph's thousands of segments cost nothing to track.
    std::vector<QRect> drawn_;
};

}  // namespace quolix
