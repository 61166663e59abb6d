#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/DeviceContext.h"
#include "framework/Rect.h"

namespace quolix {

// Where the picture goes on one device: on screen (printing 0) a 600 x 480
// canvas stretched to the window, on paper (printing not 0) a fixed
// 1800 x 1800 frame at (370, 500). Graph coordinates: x from 0 (left edge) to
// 1000 (right edge), y from -1000 (bottom) to 1000 (top), 0 on the centre
// line. Shared by the graph and the live readout.
class PageLayout {
  public:
    // "ＭＳ Ｐゴシック" in CP932: the face of every font of the graph and the
    // live readout.
    static constexpr std::string_view FontFace =
        "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";

    // Only the window's size counts, not where it is.
    PageLayout(int printing, Rect windowRect)
        : printing_(printing), width_(windowRect.Width()), height_(windowRect.Height()) {}

    static Font MakeFont(int32_t sizeTenths) { return Font{sizeTenths, std::string(FontFace)}; }

    int Printing() const { return printing_; }
    // Graph coordinates to device pixels, 32-bit and truncating exactly as
    // written.
    int32_t MapX(int32_t x) const;
    int32_t MapY(int32_t y) const;
    // Tenths of a point: 10 points per 480 pixels of window height on screen.
    int32_t BaseFontSize() const;

  private:
    int printing_;
    int32_t width_;
    int32_t height_;
};

}  // namespace quolix
