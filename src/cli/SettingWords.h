#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quolix::cli {

// The names and value words quolix-cli settings takes for the slots the
// settings dialog edits: "title1", "frame-color=#ff0000", "port=COM2",
// "color-printer=yes", "resolution=1Hz".

struct NamedSlot {
    std::string_view name;
    int slot;
};

// Every name, in the order of the dialog's kinds of setting.
std::span<const NamedSlot> NamedSlots();
// The slot of a name (exact), or nullopt.
std::optional<int> SlotOfName(std::string_view name);
// A slot's name; empty for slots without one.
std::string_view SlotName(int slot);
// "frame-color, centre-color, ...", for messages.
std::string SlotNameList();

// A value in the words of that slot, as the slot stores it: "#rrggbb" for a
// colour (red in the low byte), COM1 to COM6 (a colon may follow), yes or no,
// 100Hz, 10Hz or 1Hz; case-insensitive. nullopt when value is no word of the
// slot, numbers included.
std::optional<int32_t> ParseSettingWord(int slot, std::string_view value);
// What the words of a slot are, for messages; empty for slots without words.
std::string_view SettingWordsOf(int slot);
// A stored value in words ("#ff0000", "COM2", "yes", "1Hz"); empty when the
// slot has no words or the value has none (out of range).
std::string SettingWordFor(int slot, int32_t value);

}  // namespace quolix::cli
