#include "graph/FrequencyText.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace quolix {

namespace {

// A layout places the eight leading characters c0..c7 of the "%08d" text
// ('0'..'7') and the separators; the units digit of kHz stands just after the
// blank-scan range, so it is never blanked.
struct Layout {
    std::string_view pattern;
    size_t scanEnd;  // positions 0 .. scanEnd - 1 may turn blank
};

constexpr std::array<Layout, 3> Layouts = {{
    {"0,123,456.7", 8},  // 100 Hz per count
    {"012,345.67", 6},   // 10 Hz per count
    {"01,234.567", 5},   // 1 Hz per count
}};

}  // namespace

std::string& FrequencyText() {
    static std::string text = [] {
        std::string initial;
        initial.reserve(16);
        return initial;
    }();
    return text;
}

const std::string& FormatFrequency(int32_t reading, int32_t resolution) {
    std::string& text = FrequencyText();
    char digits[16];
    const int length = std::snprintf(digits, sizeof digits, "%08d", reading);
    if (resolution < 0 || resolution > 2) {
        text.assign(digits, static_cast<size_t>(length));
        return text;
    }
    // Only the first eight characters are laid out; a ninth (a long negative
    // or a reading of 100,000,000 and more) is dropped.
    const Layout& layout = Layouts[static_cast<size_t>(resolution)];
    text.assign(layout.pattern);
    for (char& c : text) {
        if (c >= '0' && c <= '7') {
            c = digits[c - '0'];
        }
    }
    for (size_t i = 0; i < layout.scanEnd && (text[i] == '0' || text[i] == ','); ++i) {
        text[i] = ' ';
    }
    return text;
}

}  // namespace quolix
