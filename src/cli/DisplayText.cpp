#include "cli/DisplayText.h"

#include <cstdint>
#include <optional>

#include "base/Cp932.h"

namespace quolix {

namespace {

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

bool IsLeadByte(uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

std::string DisplayText(std::string_view cp932) {
    if (std::optional<std::string> whole = Cp932ToUtf8(cp932)) {
        return *whole;
    }
    // Character by character: a lead byte with its trail, or a single byte.
    std::string result;
    std::size_t at = 0;
    while (at < cp932.size()) {
        const auto byte = static_cast<uint8_t>(cp932[at]);
        const std::size_t length = IsLeadByte(byte) && at + 1 < cp932.size() ? 2 : 1;
        if (std::optional<std::string> piece = Cp932ToUtf8(cp932.substr(at, length))) {
            result += *piece;
            at += length;
        } else {
            result += ReplacementCharacter;
            ++at;
        }
    }
    return result;
}

}  // namespace quolix
