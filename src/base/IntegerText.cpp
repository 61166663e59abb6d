#include "base/IntegerText.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

namespace quolix {

namespace {

bool IsCBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int32_t ParseIntPrefix(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr int64_t Limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        magnitude = std::min(magnitude * 10 + (text[i] - '0'), Limit);
    }
    if (negative) {
        return static_cast<int32_t>(-magnitude);
    }
    return static_cast<int32_t>(std::min(magnitude, Limit - 1));
}

bool ParseInteger(std::string_view text, long long low, long long high, long long& value) {
    std::size_t digits = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        digits = 1;
    }
    if (digits == text.size() ||
        !std::all_of(text.begin() + static_cast<std::ptrdiff_t>(digits), text.end(), IsDigit)) {
        return false;
    }
    // from_chars takes a minus sign only.
    const std::size_t from = text[0] == '+' ? 1 : 0;
    long long parsed = 0;
    const auto [stop, error] =
        std::from_chars(text.data() + from, text.data() + text.size(), parsed);
    if (error != std::errc() || stop != text.data() + text.size() || parsed < low ||
        parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

}  // namespace quolix
