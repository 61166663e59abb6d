#include "link/ReplyParser.h"

#include <limits>

namespace quolix {

namespace {

// The characters the C locale's isspace accepts; written out so that the
// result never depends on the process locale.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int ReplyParser::Feed(const uint8_t* bytes, size_t count, int32_t& reading) {
    int completed = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t c = bytes[i];
        if (replyLength_ > LengthLimit) {
            replyLength_ = LengthLimit;
        } else if (replyLength_ < 0) {
            replyLength_ = 0;
        }
        if (c >= 0x20) {
            replyBuffer_[static_cast<size_t>(replyLength_)] = static_cast<char>(c);
            ++replyLength_;
        } else if (replyLength_ == ReplyChars) {
            replyBuffer_[ReplyChars] = '\0';
            reading = ConvertReply(replyBuffer_.data());
            completed = 1;
            replyLength_ = 0;
        } else {
            replyLength_ = 0;
        }
    }
    return completed;
}

int32_t ReplyParser::ConvertReply(const char* text) {
    const char* p = text;
    while (IsBlank(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    constexpr int64_t Limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    while (IsDigit(*p)) {
        if (magnitude < Limit) {
            magnitude = magnitude * 10 + (*p - '0');
        }
        ++p;
    }
    if (magnitude > Limit) {
        magnitude = Limit;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(value);
}

}  // namespace quolix
