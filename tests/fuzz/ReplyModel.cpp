#include "fuzz/ReplyModel.h"

#include <algorithm>
#include <cstdlib>

namespace quolix::fuzz {

bool ReplyModel::Take(uint8_t byte) {
    if (byte >= 0x20) {
        // Once past eight characters the reply can only be dropped, so only
        // the first eight are worth keeping.
        if (pending_ < ReplyChars) {
            first_[pending_] = static_cast<char>(byte);
        }
        pending_ = std::min(pending_, MostPending - 1) + 1;
        return false;
    }
    const bool complete = pending_ == ReplyChars;
    if (complete) {
        first_[ReplyChars] = '\0';
        // The C runtime's own atoi is the rule itself. The harness never
        // changes the locale, so blanks are the C locale's and bytes from 0x80
        // up are not blanks; eight characters cannot overflow.
        value_ = static_cast<int32_t>(std::atoi(first_.data()));
    }
    pending_ = 0;
    return complete;
}

}  // namespace quolix::fuzz
