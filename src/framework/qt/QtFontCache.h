#pragma once

#include <cstdint>
#include <deque>

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>

#include "framework/DeviceContext.h"

class QPaintDevice;

namespace quolix {

// Fonts made from their descriptions, with the ascent measured once. A window
// keeps one for its life, so that drawing the readout four times a second
// neither rebuilds fonts nor converts their face names again.
class QtFontCache {
  public:
    struct Made {
        QFont font;
        int ascent = 0;
        // Texts laid out in this font, by their text.
        QHash<QString, QStaticText> laidOut;
    };

    // The font for this description at this resolution, measured on device;
    // made at the first request. The reference stays valid for the cache's life.
    Made& Find(const Font& font, int32_t dpiY, const QPaintDevice* device);

    // The ascent of the font a device starts with, which every context onto
    // it measures; kept for the last font and resolution asked about.
    int StockAscent(const QFont& font, const QPaintDevice* device);

  private:
    struct Entry {
        Font description;
        int32_t dpiY = 0;
        Made made;
    };

    // Few fonts are ever drawn with; a deque keeps references stable.
    std::deque<Entry> entries_;
    QFont stockFont_;
    int stockDpiY_ = -1;
    int stockAscent_ = 0;
};

}  // namespace quolix
