#include "cli/SettingWords.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

#include "link/PortNames.h"
#include "settings/SettingsRecord.h"

namespace quolix::cli {

namespace {

constexpr std::array<NamedSlot, 13> Names = {{
    {"frame-color", SettingsRecord::FrameColour},
    {"centre-color", SettingsRecord::CentreColour},
    {"grid-color", SettingsRecord::GridColour},
    {"data-color", SettingsRecord::DataColour},
    {"frame-width", SettingsRecord::FrameWidth},
    {"centre-width", SettingsRecord::CentreWidth},
    {"grid-width", SettingsRecord::GridWidth},
    {"data-width", SettingsRecord::DataWidth},
    {"title1", SettingsRecord::Title1},
    {"title2", SettingsRecord::Title2},
    {"port", SettingsRecord::ComPort},
    {"color-printer", SettingsRecord::ColourPrinter},
    {"resolution", SettingsRecord::Resolution},
}};

constexpr std::array<std::string_view, 3> ResolutionWords = {"100Hz", "10Hz", "1Hz"};

bool IsColourSlot(int slot) {
    return slot >= SettingsRecord::FrameColour && slot <= SettingsRecord::SpareColour;
}

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const int lower = std::tolower(static_cast<unsigned char>(c));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// "#rrggbb" as the settings keep a colour, 0x00BBGGRR.
std::optional<int32_t> ParseHexColour(std::string_view text) {
    if (text.size() != 7 || text[0] != '#') {
        return std::nullopt;
    }
    uint32_t rgb = 0;
    for (const char c : text.substr(1)) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        rgb = (rgb << 4) | static_cast<uint32_t>(digit);
    }
    const uint32_t red = (rgb >> 16) & 0xFF;
    const uint32_t green = (rgb >> 8) & 0xFF;
    const uint32_t blue = rgb & 0xFF;
    return static_cast<int32_t>(red | (green << 8) | (blue << 16));
}

std::string HexColour(int32_t colour) {
    const auto value = static_cast<uint32_t>(colour);
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", value & 0xFF, (value >> 8) & 0xFF,
                  (value >> 16) & 0xFF);
    return text;
}

// "COM1" ... "COM6", with or without the colon, in any case.
std::optional<int32_t> ParsePortName(std::string_view text) {
    for (int index = 0; index < PortCount; ++index) {
        const std::string name = ComName(index);
        if (SameWord(text, name) || SameWord(text, name + ":")) {
            return index;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<int32_t> ParseSettingWord(int slot, std::string_view value) {
    if (IsColourSlot(slot)) {
        return ParseHexColour(value);
    }
    switch (slot) {
        case SettingsRecord::ComPort:
            return ParsePortName(value);
        case SettingsRecord::ColourPrinter:
            if (SameWord(value, "yes")) {
                return 1;
            }
            if (SameWord(value, "no")) {
                return 0;
            }
            return std::nullopt;
        case SettingsRecord::Resolution:
            for (std::size_t i = 0; i < ResolutionWords.size(); ++i) {
                if (SameWord(value, ResolutionWords[i])) {
                    return static_cast<int32_t>(i);
                }
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::string_view SettingWordsOf(int slot) {
    if (IsColourSlot(slot)) {
        return "#rrggbb";
    }
    switch (slot) {
        case SettingsRecord::ComPort:
            return "COM1 から COM6";
        case SettingsRecord::ColourPrinter:
            return "yes か no";
        case SettingsRecord::Resolution:
            return "100Hz, 10Hz, 1Hz";
        default:
            return {};
    }
}

std::span<const NamedSlot> NamedSlots() {
    return Names;
}

std::optional<int> SlotOfName(std::string_view name) {
    for (const NamedSlot& entry : Names) {
        if (entry.name == name) {
            return entry.slot;
        }
    }
    return std::nullopt;
}

std::string_view SlotName(int slot) {
    for (const NamedSlot& entry : Names) {
        if (entry.slot == slot) {
            return entry.name;
        }
    }
    return {};
}

std::string SlotNameList() {
    std::string list;
    for (const NamedSlot& entry : Names) {
        list += list.empty() ? "" : ", ";
        list += entry.name;
    }
    return list;
}

std::string SettingWordFor(int slot, int32_t value) {
    if (IsColourSlot(slot)) {
        return value >= 0 && value <= 0xFFFFFF ? HexColour(value) : std::string();
    }
    switch (slot) {
        case SettingsRecord::ComPort:
            return value >= 0 && value < PortCount ? ComName(value) : std::string();
        case SettingsRecord::ColourPrinter:
            return value == 1 ? "yes" : (value == 0 ? "no" : "");
        case SettingsRecord::Resolution:
            return value >= 0 && value < static_cast<int32_t>(ResolutionWords.size())
                       ? std::string(ResolutionWords[static_cast<std::size_t>(value)])
                       : std::string();
        default:
            return {};
    }
}

}  // namespace quolix::cli
