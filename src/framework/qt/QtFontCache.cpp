#include "framework/qt/QtFontCache.h"

#include <QFontMetrics>
#include <QPaintDevice>

#include "framework/qt/QtDeviceContext.h"

namespace quolix {

QtFontCache::Made& QtFontCache::Find(const Font& font, int32_t dpiY, const QPaintDevice* device) {
    for (Entry& entry : entries_) {
        if (entry.dpiY == dpiY && entry.description == font) {
            return entry.made;
        }
    }
    Entry& entry = entries_.emplace_back();
    entry.description = font;
    entry.dpiY = dpiY;
    entry.made.font = QFontFor(font, dpiY);
    entry.made.ascent = QFontMetrics(entry.made.font, device).ascent();
    return entry.made;
}

int QtFontCache::StockAscent(const QFont& font, const QPaintDevice* device) {
    const int dpiY = device != nullptr ? device->logicalDpiY() : 0;
    if (stockDpiY_ != dpiY || stockFont_ != font) {
        stockFont_ = font;
        stockDpiY_ = dpiY;
        stockAscent_ = QFontMetrics(font, device).ascent();
    }
    return stockAscent_;
}

}  // namespace quolix
