#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quolix {

// Conversions between the system's CP932 text and UTF-8, where text meets a
// terminal, a file name or a host that speaks Unicode. Both refuse text the
// other side cannot hold (nullopt) rather than silently changing it.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

// True when every character of the UTF-8 text has a CP932 form, so that the
// text can be accepted as input.
bool IsCp932Representable(std::string_view utf8);

// For CP932 text that is only shown (a terminal, JSON, a widget): text from a
// file may be damaged, so every byte that does not begin a decodable
// character becomes U+FFFD and the rest is kept. Always valid UTF-8.
std::string Cp932ToUtf8Lossy(std::string_view cp932);

}  // namespace quolix
