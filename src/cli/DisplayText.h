#pragma once

#include <string>
#include <string_view>

namespace quolix {

// CP932 text as UTF-8 for a terminal or JSON. Text from a file may be damaged:
// every byte that does not begin a decodable character becomes U+FFFD and the
// rest is kept, so the result is always valid UTF-8.
std::string DisplayText(std::string_view cp932);

}  // namespace quolix
