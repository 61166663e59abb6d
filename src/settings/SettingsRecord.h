#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quolix {

// Thirty numbered slots holding every persistent setting. Slot numbers are the
// vocabulary shared by every holder; the names below are only aliases.
class SettingsRecord {
  public:
    static constexpr int SlotCount = 30;
    static constexpr int FirstTextSlot = 10;
    static constexpr int LastTextSlot = 14;

    enum Slot : int {
        FrameColour = 0,
        CentreColour = 1,
        GridColour = 2,
        DataColour = 3,
        SpareColour = 4,
        FrameWidth = 5,
        CentreWidth = 6,
        GridWidth = 7,
        DataWidth = 8,
        SpareWidth = 9,
        Title1 = 10,
        Title2 = 11,
        SpareText1 = 12,
        SpareText2 = 13,
        SpareText3 = 14,
        ComPort = 15,
        ColourPrinter = 16,
        Resolution = 17,
        WindowLeft = 20,
        WindowTop = 21,
        WindowRight = 22,
        WindowBottom = 23,
        ShowState = 24,
    };

    // What slot ShowState holds: how the window was shown when the program
    // last ended (the platform's SW_SHOWNORMAL, SW_SHOWMINIMIZED and
    // SW_SHOWMAXIMIZED).
    static constexpr int32_t ShowNormal = 1;
    static constexpr int32_t ShowMinimized = 2;
    static constexpr int32_t ShowMaximized = 3;

    static bool IsValidSlot(int slot) { return slot >= 0 && slot < SlotCount; }
    static bool IsTextSlot(int slot) { return slot >= FirstTextSlot && slot <= LastTextSlot; }
    static bool IsIntSlot(int slot) { return IsValidSlot(slot) && !IsTextSlot(slot); }

    // Integer slots: every slot but 10 to 14. Text slots: 10 to 14, CP932 bytes.
    // Callers pass valid slot numbers (mostly the constants above); a slot of the
    // wrong kind or out of range falls back to a scratch value so that no access
    // can reach outside the record.
    int32_t& Int(int slot);
    int32_t Int(int slot) const;
    std::string& Text(int slot);
    const std::string& Text(int slot) const;

    void ApplyDefaults();

    bool operator==(const SettingsRecord& other) const {
        return ints_ == other.ints_ && texts_ == other.texts_;
    }

  private:
    std::array<int32_t, SlotCount> ints_{};
    std::array<std::string, LastTextSlot - FirstTextSlot + 1> texts_;
    int32_t scratchInt_ = 0;
    std::string scratchText_;
};

}  // namespace quolix
