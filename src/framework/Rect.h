#pragma once

#include <cstdint>

namespace quolix {

// A rectangle in device pixels; right and bottom are exclusive, as on the
// platform the drawing rules were written for.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

}  // namespace quolix
