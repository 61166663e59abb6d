#include "base/Cp932.h"

namespace quolix {

std::string Cp932ToUtf8Lossy(std::string_view cp932) {
    if (std::optional<std::string> whole = Cp932ToUtf8(cp932)) {
        return *whole;
    }
    // Character by character: a lead byte with its trail, or a single byte.
    constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";
    const auto isLeadByte = [](unsigned char byte) {
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    };
    std::string result;
    std::size_t at = 0;
    while (at < cp932.size()) {
        const auto byte = static_cast<unsigned char>(cp932[at]);
        const std::size_t length = isLeadByte(byte) && at + 1 < cp932.size() ? 2 : 1;
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

bool IsCp932Representable(std::string_view utf8) {
    return Utf8ToCp932(utf8).has_value();
}

}  // namespace quolix
