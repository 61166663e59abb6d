#include "settings/SettingsRecord.h"

namespace quolix {

int32_t& SettingsRecord::Int(int slot) {
    if (!IsIntSlot(slot)) {
        scratchInt_ = 0;
        return scratchInt_;
    }
    return ints_[static_cast<size_t>(slot)];
}

int32_t SettingsRecord::Int(int slot) const {
    return IsIntSlot(slot) ? ints_[static_cast<size_t>(slot)] : 0;
}

std::string& SettingsRecord::Text(int slot) {
    if (!IsTextSlot(slot)) {
        scratchText_.clear();
        return scratchText_;
    }
    return texts_[static_cast<size_t>(slot - FirstTextSlot)];
}

const std::string& SettingsRecord::Text(int slot) const {
    static const std::string empty;
    return IsTextSlot(slot) ? texts_[static_cast<size_t>(slot - FirstTextSlot)] : empty;
}

void SettingsRecord::ApplyDefaults() {
    ints_.fill(0);
    ints_[FrameWidth] = 2;
    ints_[DataWidth] = 1;
    ints_[WindowLeft] = 44;
    ints_[WindowTop] = 44;
    ints_[WindowRight] = 700;
    ints_[WindowBottom] = 550;
    Text(Title1) = "Quolix Frequency Counter";
    Text(Title2) = "( Frequency Data Logger )";
    Text(SpareText1) = "default data";
    Text(SpareText2) = "default data";
    Text(SpareText3) = "default data";
    scratchInt_ = 0;
    scratchText_.clear();
}

}  // namespace quolix
