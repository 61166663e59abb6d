#include "framework/qt/QtDeviceContext.h"

#include <cstdlib>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QScreen>
#include <QStaticText>
#include <QStringList>

#include "framework/qt/QtText.h"

namespace quolix {
namespace {

// Texts repeat from paint to paint (titles, labels, the fixed parts of the
// readout): laying each one out once, rather than at every paint, removes
// most of what drawing them costs. Bounded, since readings and clock texts
// keep changing.
const QStaticText& LaidOut(QHash<QString, QStaticText>& cache, const QString& key,
                           const QString& text, const QFont& font) {
    constexpr qsizetype MaxEntries = 512;
    auto found = cache.constFind(key);
    if (found != cache.constEnd()) {
        return *found;
    }
    if (cache.size() >= MaxEntries) {
        cache.clear();
    }
    QStaticText laidOut(text);
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.prepare(QTransform(), font);
    return *cache.insert(key, laidOut);
}

// Texts in a font of no cache's (the device's own): keyed by the font's
// description, which is slow to form but rarely needed.
const QStaticText& LaidOutInAnyFont(const QString& text, const QFont& font) {
    static QHash<QString, QStaticText> cache;
    return LaidOut(cache, font.key() + QChar(0x1F) + text, text, font);
}

const QString& DrawingFace() {
    static const QString face = QString::fromUtf8("ＭＳ Ｐゴシック");
    return face;
}

}  // namespace

void InstallFontSubstitutions() {
    // Qt skips names already in the list, so a second call changes nothing.
    QFont::insertSubstitutions(DrawingFace(),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
}

int32_t ScreenDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int32_t>(qRound(screen->logicalDotsPerInchY())) : 96;
}

int32_t FontPixelHeight(int32_t sizeTenths, int32_t dpiY) {
    return static_cast<int32_t>(std::llabs(static_cast<int64_t>(dpiY) * sizeTenths / 720));
}

QColor QColorFor(Colour colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QPen QPenFor(const Pen& pen) {
    if (pen.width <= 0) {
        QPen cosmetic(QColorFor(pen.colour), 0, Qt::SolidLine);
        cosmetic.setCosmetic(true);
        return cosmetic;
    }
    return QPen(QColorFor(pen.colour), pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QFont QFontFor(const Font& font, int32_t dpiY) {
    QFont result;
    if (!font.face.empty()) {
        result.setFamilies({QStringFromCp932(font.face)});
    }
    // A zero height leaves the default size, as a font of height 0 does.
    const int32_t height = FontPixelHeight(font.sizeTenths, dpiY);
    if (height > 0) {
        result.setPixelSize(height);
    }
    return result;
}

QtDeviceContext::QtDeviceContext(QPainter& painter, int32_t screenDpiY, QtFontCache* fonts,
                                 DrawnTextMemory* texts)
    : painter_(painter),
      dpiY_(screenDpiY),
      linePen_(QPenFor(Pen{})),
      textPen_(Qt::black),
      fonts_(fonts != nullptr ? *fonts : ownFonts_),
      texts_(texts) {
    painter_.save();
    // A fresh device context: black hairline, opaque white text background.
    // TextOut fills the text cell itself, so the painter's own background
    // mode stays transparent: in opaque mode Qt paints a laid-out text's
    // background and glyphs without the painter's translation, which put
    // every text of a page image 42 pixels up and left of the lines.
    painter_.setBackgroundMode(Qt::TransparentMode);
    painter_.setBackground(QBrush(Qt::white));
    painter_.setBrush(Qt::NoBrush);
    painter_.setPen(linePen_);
    stockFont_ = painter_.font();
    stockAscent_ = fonts_.StockAscent(stockFont_, painter_.device());
    ascent_ = stockAscent_;
}

QtDeviceContext::~QtDeviceContext() {
    painter_.restore();
}

Pen QtDeviceContext::SelectPen(const Pen& pen) {
    const Pen previous = pen_;
    if (!(pen == pen_)) {
        pen_ = pen;
        linePen_ = QPenFor(pen);
        if (!textPenActive_) {
            painter_.setPen(linePen_);
        }
    }
    return previous;
}

Font QtDeviceContext::SelectFont(const Font& font) {
    const Font previous = font_;
    font_ = font;
    if (font == Font{}) {
        // Back to the font the device context started with.
        ascent_ = stockAscent_;
        painter_.setFont(stockFont_);
        laidOut_ = nullptr;
    } else {
        QtFontCache::Made& made = fonts_.Find(font, dpiY_, painter_.device());
        ascent_ = made.ascent;
        painter_.setFont(made.font);
        laidOut_ = &made.laidOut;
    }
    return previous;
}

int32_t QtDeviceContext::FontHeight(const Font& font) {
    return FontPixelHeight(font.sizeTenths, dpiY_);
}

void QtDeviceContext::MoveTo(int32_t x, int32_t y) {
    position_ = QPoint(x, y);
}

void QtDeviceContext::LineTo(int32_t x, int32_t y) {
    if (textPenActive_) {
        painter_.setPen(linePen_);
        textPenActive_ = false;
    }
    const QPoint to(x, y);
    painter_.drawLine(position_, to);
    const int margin = linePen_.width() / 2 + 1;
    Covered(QRect(position_, to).normalized().adjusted(-margin, -margin, margin, margin));
    position_ = to;
}

QRegion QtDeviceContext::DrawnArea() const {
    QRegion area;
    for (const QRect& rect : drawn_) {
        area += rect;
    }
    return area;
}

void QtDeviceContext::Drew(const QRect& area) {
    constexpr size_t MaxRects = 8;
    for (QRect& rect : drawn_) {
        if (rect.intersects(area)) {
            rect |= area;
            return;
        }
    }
    if (drawn_.size() < MaxRects) {
        drawn_.push_back(area);
        return;
    }
    QRect all = area;
    for (const QRect& rect : drawn_) {
        all |= rect;
    }
    drawn_.assign(1, all);
}

void QtDeviceContext::Covered(const QRect& area) {
    Drew(area);
    if (texts_ != nullptr) {
        texts_->Covered(area);
    }
}

void QtDeviceContext::TextOut(int32_t x, int32_t y, std::string_view text) {
    if (text.empty()) {
        return;
    }
    DrawnTextMemory::Text drawing;
    if (texts_ != nullptr) {
        drawing = {QPoint(x, y), std::string(text),      font_,
                   dpiY_,        textPen_.color().rgb(), painter_.background().color().rgb()};
        if (texts_->Shows(drawing)) {
            return;
        }
    }
    if (!textPenActive_) {
        painter_.setPen(textPen_);
        textPenActive_ = true;
    }
    const QString unicode = QStringFromCp932(text);
    const QStaticText& laidOut = laidOut_ != nullptr
                                     ? LaidOut(*laidOut_, unicode, unicode, painter_.font())
                                     : LaidOutInAnyFont(unicode, painter_.font());
    // The text cell is painted first, as an opaque text background would be.
    const QSize size = laidOut.size().toSize();
    const QRect cell(x, y, size.width(), size.height());
    painter_.fillRect(cell, painter_.background());
    painter_.drawStaticText(QPoint(x, y), laidOut);
    Drew(cell.adjusted(0, 0, 1, 1));
    if (texts_ != nullptr) {
        texts_->Drew(drawing, cell.adjusted(0, 0, 1, 1));
    }
}

}  // namespace quolix
