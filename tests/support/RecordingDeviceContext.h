#pragma once

#include <string>
#include <vector>

#include "framework/DeviceContext.h"

namespace quolix {

// One drawing call as the recorder saw it.
struct DrawCall {
    enum class Kind { SelectPen, SelectFont, MoveTo, LineTo, TextOut };
    Kind kind = Kind::MoveTo;
    int32_t x = 0;
    int32_t y = 0;
    Pen pen;
    Font font;
    std::string text;
};

// A device context that draws nothing and logs every call, so that drawing
// code can be checked call by call without a screen.
class RecordingDeviceContext : public DeviceContext {
  public:
    explicit RecordingDeviceContext(int32_t dpiY = 96);

    Pen SelectPen(const Pen& pen) override;
    Font SelectFont(const Font& font) override;
    int32_t FontHeight(const Font& font) override;
    void MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override;
    void TextOut(int32_t x, int32_t y, std::string_view text) override;

    const std::vector<DrawCall>& Calls() const { return calls_; }
    // The calls as short readable lines: "pen 2 0x0000ff", "font 100 <face>",
    // "move 66 87", "line 733 87", "text 66 70 <text>".
    std::vector<std::string> Log() const;
    void Clear() { calls_.clear(); }
    const Font& CurrentFont() const { return font_; }

  private:
    int32_t dpiY_;
    Pen pen_;
    Font font_;
    std::vector<DrawCall> calls_;
};

}  // namespace quolix
