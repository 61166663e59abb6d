#include "framework/qt/DrawnTextMemory.h"

#include <algorithm>

namespace quolix {

bool DrawnTextMemory::Shows(const Text& text) const {
    return std::any_of(shown_.begin(), shown_.end(),
                       [&text](const Shown& shown) { return shown.text == text; });
}

void DrawnTextMemory::Drew(const Text& text, const QRect& cell) {
    Covered(cell);
    if (shown_.size() >= MaxTexts) {
        shown_.clear();
    }
    shown_.push_back({text, cell});
}

void DrawnTextMemory::Covered(const QRect& area) {
    std::erase_if(shown_, [&area](const Shown& shown) { return shown.cell.intersects(area); });
}

}  // namespace quolix
