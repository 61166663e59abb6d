#pragma once

#include "framework/DeviceContext.h"

namespace quolix {

// Hands every drawing call on to a device context it does not own: lets a
// caller hand out an owned context that shares a surface already in use.
class ForwardingDeviceContext : public DeviceContext {
  public:
    explicit ForwardingDeviceContext(DeviceContext& target) : target_(target) {}

    Pen SelectPen(const Pen& pen) override { return target_.SelectPen(pen); }
    Font SelectFont(const Font& font) override { return target_.SelectFont(font); }
    int32_t FontHeight(const Font& font) override { return target_.FontHeight(font); }
    void MoveTo(int32_t x, int32_t y) override { target_.MoveTo(x, y); }
    void LineTo(int32_t x, int32_t y) override { target_.LineTo(x, y); }
    void TextOut(int32_t x, int32_t y, std::string_view text) override {
        target_.TextOut(x, y, text);
    }

  private:
    DeviceContext& target_;
};

}  // namespace quolix
