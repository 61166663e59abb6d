#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QPoint>
#include <QRect>
#include <QRgb>

#include "framework/DeviceContext.h"

namespace quolix {

// The texts an image shows exactly as they were drawn: same place, bytes,
// font (and the resolution it was sized for) and colours, and nothing drawn
// over their cells since. Drawing such a
// text again would change no pixel, so it is skipped and not flushed; the
// live readout redraws its clock four times a second although it changes
// once. Whoever repaints the whole image clears the memory first.
class DrawnTextMemory {
  public:
    struct Text {
        QPoint at;
        std::string bytes;
        Font font;
        int32_t dpiY = 0;
        QRgb foreground = 0;
        QRgb background = 0;
        bool operator==(const Text&) const = default;
    };

    bool Shows(const Text& text) const;
    // text was drawn into cell: it replaces whatever the cell covered.
    void Drew(const Text& text, const QRect& cell);
    // Something else was drawn over area.
    void Covered(const QRect& area);
    void Clear() { shown_.clear(); }

  private:
    struct Shown {
        Text text;
        QRect cell;
    };

    // A window shows some fifteen texts; more means the drawing changed its
    // ways, and forgetting only costs a redraw.
    static constexpr size_t MaxTexts = 64;

    std::vector<Shown> shown_;
};

}  // namespace quolix
