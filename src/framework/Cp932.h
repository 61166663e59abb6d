#pragma once

#include <string>
#include <string_view>

namespace quolix {

// Conversions between UTF-8 and the system's multibyte code page 932, through
// iconv ("CP932"). Each returns false, leaving out empty, when the input holds
// anything the other side cannot represent (an emoji, a stray byte, a
// truncated character); nothing is ever replaced or dropped silently.
bool Utf8ToCp932(std::string_view utf8, std::string& out);
bool Cp932ToUtf8(std::string_view cp932, std::string& out);

// True when every character of the UTF-8 text has a CP932 form, so that the
// text can be accepted as input.
bool IsCp932Representable(std::string_view utf8);

}  // namespace quolix
