#include "cli/TerminalText.h"

#include <cstdio>

namespace quolix::cli {

std::string TerminalSafe(std::string_view utf8) {
    std::string safe;
    safe.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        char escape[8];
        if (byte == '\r') {
            safe += "\\r";
        } else if (byte == '\n') {
            safe += "\\n";
        } else if (byte == '\t') {
            safe += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            safe += escape;
        } else if (byte == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            // U+0080 to U+009F: some terminals take these as control codes too.
            std::snprintf(escape, sizeof escape, "\\u%04x",
                          static_cast<unsigned>(static_cast<unsigned char>(utf8[++i])));
            safe += escape;
        } else {
            safe += static_cast<char>(byte);
        }
    }
    return safe;
}

}  // namespace quolix::cli
