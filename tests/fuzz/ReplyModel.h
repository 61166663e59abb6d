#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quolix::fuzz {

// The counter's reply rule, written down a second time and as plainly as
// possible, to judge the parser by: a reply is exactly eight characters of
// 0x20 or above followed by a control byte, read as atoi reads text. The
// count of characters pending is held at 1000 before each byte is taken, so it
// never goes past 1001.
class ReplyModel {
  public:
    static constexpr size_t ReplyChars = 8;
    static constexpr size_t MostPending = 1001;

    // True when this byte completed a reply; Value() then holds its reading.
    bool Take(uint8_t byte);
    int32_t Value() const { return value_; }
    size_t Pending() const { return pending_; }

  private:
    std::array<char, ReplyChars + 1> first_{};
    size_t pending_ = 0;
    int32_t value_ = 0;
};

}  // namespace quolix::fuzz
