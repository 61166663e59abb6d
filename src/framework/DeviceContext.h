#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quolix {

// Colours are 0x00BBGGRR: red in the lowest byte, as stored in the settings.
using Colour = uint32_t;

// A solid pen. Width 0 is the thinnest line the device can draw.
struct Pen {
    int32_t width = 0;
    Colour colour = 0;
    bool operator==(const Pen&) const = default;
};

// A font described by its size in tenths of a point and its face name (CP932).
struct Font {
    int32_t sizeTenths = 0;
    std::string face;
    bool operator==(const Font&) const = default;
};

// The drawing surface the graph and the live readout draw through: the screen,
// a printer page, an image, or a recorder in tests. Texts are CP932 bytes,
// anchored at their top-left corner, drawn with an opaque background.
class DeviceContext {
  public:
    virtual ~DeviceContext() = default;

    // Select returns what was selected before, so that callers can restore it.
    virtual Pen SelectPen(const Pen& pen) = 0;
    virtual Font SelectFont(const Font& font) = 0;

    // Character height in device pixels of a font made from this description:
    // screen dpi x size / 720, truncated (also when drawing onto a printer).
    virtual int32_t FontHeight(const Font& font) = 0;

    virtual void MoveTo(int32_t x, int32_t y) = 0;
    virtual void LineTo(int32_t x, int32_t y) = 0;
    virtual void TextOut(int32_t x, int32_t y, std::string_view text) = 0;
};

}  // namespace quolix
