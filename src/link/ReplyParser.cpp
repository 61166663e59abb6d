#include "link/ReplyParser.h"

#include <string_view>

#include "base/IntegerText.h"

namespace quolix {

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
            // Read as atoi reads it; 8 characters never reach its limits.
            reading = ParseIntPrefix(
                std::string_view(replyBuffer_.data(), static_cast<size_t>(ReplyChars)));
            completed = 1;
            replyLength_ = 0;
        } else {
            replyLength_ = 0;
        }
    }
    return completed;
}

}  // namespace quolix
