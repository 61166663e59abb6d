#pragma once

#include <cstdint>
#include <string_view>

namespace quolix {

// Reads text the way the C runtime's atoi does: blanks (those of the C
// locale, whatever the process locale), an optional sign, then decimal digits
// up to the first other character; no digits gives 0. Saturates at the ends
// of int32_t where atoi would be undefined.
int32_t ParseIntPrefix(std::string_view text);

// A whole decimal number: an optional sign and digits, nothing else (no
// blanks), within [low, high]. value is left alone when the text is not one.
bool ParseInteger(std::string_view text, long long low, long long high, long long& value);

}  // namespace quolix
