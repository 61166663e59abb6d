#include "graph/PageLayout.h"

namespace quolix {

int32_t PageLayout::MapX(int32_t x) const {
    if (printing_ != 0) {
        return x * 1800 / 1000 + 370;
    }
    return (x * 500 / 1000 + 50) * width_ / 600;
}

int32_t PageLayout::MapY(int32_t y) const {
    if (printing_ != 0) {
        return 1400 - y * 900 / 1000;
    }
    return (230 - y * 160 / 1000) * height_ / 480;
}

int32_t PageLayout::BaseFontSize() const {
    if (printing_ != 0) {
        return 450;
    }
    return 100 * height_ / 480;
}

}  // namespace quolix
