#include "support/RecordingDeviceContext.h"

#include <cstdio>
#include <cstdlib>

namespace quolix {

namespace {

// Filled field by field: a braced temporary here trips GCC 12's
// -Wmaybe-uninitialized at -O3, which -Werror makes fatal in release builds.
DrawCall PointCall(DrawCall::Kind kind, int32_t x, int32_t y) {
    DrawCall call;
    call.kind = kind;
    call.x = x;
    call.y = y;
    return call;
}

}  // namespace

RecordingDeviceContext::RecordingDeviceContext(int32_t dpiY) : dpiY_(dpiY) {
    calls_.reserve(4096);
}

Pen RecordingDeviceContext::SelectPen(const Pen& pen) {
    Pen previous = pen_;
    pen_ = pen;
    DrawCall call;
    call.kind = DrawCall::Kind::SelectPen;
    call.pen = pen;
    calls_.push_back(std::move(call));
    return previous;
}

Font RecordingDeviceContext::SelectFont(const Font& font) {
    Font previous = font_;
    font_ = font;
    DrawCall call;
    call.kind = DrawCall::Kind::SelectFont;
    call.font = font;
    calls_.push_back(std::move(call));
    return previous;
}

int32_t RecordingDeviceContext::FontHeight(const Font& font) {
    return std::abs(static_cast<int32_t>(static_cast<int64_t>(dpiY_) * font.sizeTenths / 720));
}

void RecordingDeviceContext::MoveTo(int32_t x, int32_t y) {
    calls_.push_back(PointCall(DrawCall::Kind::MoveTo, x, y));
}

void RecordingDeviceContext::LineTo(int32_t x, int32_t y) {
    calls_.push_back(PointCall(DrawCall::Kind::LineTo, x, y));
}

void RecordingDeviceContext::TextOut(int32_t x, int32_t y, std::string_view text) {
    DrawCall call = PointCall(DrawCall::Kind::TextOut, x, y);
    call.text.assign(text);
    calls_.push_back(std::move(call));
}

std::vector<std::string> RecordingDeviceContext::Log() const {
    std::vector<std::string> lines;
    lines.reserve(calls_.size());
    char buffer[64];
    for (const DrawCall& call : calls_) {
        switch (call.kind) {
            case DrawCall::Kind::SelectPen:
                std::snprintf(buffer, sizeof buffer, "pen %d 0x%06x", call.pen.width,
                              static_cast<unsigned>(call.pen.colour));
                lines.emplace_back(buffer);
                break;
            case DrawCall::Kind::SelectFont:
                std::snprintf(buffer, sizeof buffer, "font %d ", call.font.sizeTenths);
                lines.push_back(buffer + call.font.face);
                break;
            case DrawCall::Kind::MoveTo:
                std::snprintf(buffer, sizeof buffer, "move %d %d", call.x, call.y);
                lines.emplace_back(buffer);
                break;
            case DrawCall::Kind::LineTo:
                std::snprintf(buffer, sizeof buffer, "line %d %d", call.x, call.y);
                lines.emplace_back(buffer);
                break;
            case DrawCall::Kind::TextOut:
                std::snprintf(buffer, sizeof buffer, "text %d %d ", call.x, call.y);
                lines.push_back(buffer + call.text);
                break;
        }
    }
    return lines;
}

}  // namespace quolix
