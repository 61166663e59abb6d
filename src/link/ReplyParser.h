#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quolix {

// Turns the counter's byte stream into Readings. A reply is exactly 8 bytes of
// 0x20 or above followed by any control byte; anything else is dropped when its
// control byte arrives. The accumulator persists across calls, so a reply that
// arrives split over two drains is joined.
class ReplyParser {
  public:
    static constexpr size_t BufferSize = 1024;
    // replyLength is brought into 0..LengthLimit before each byte, so the
    // highest index ever written is LengthLimit.
    static constexpr int32_t LengthLimit = 1000;
    static constexpr int32_t ReplyChars = 8;

    // 1 when at least one reply completed among these bytes; reading then holds
    // the last one. 0 leaves reading untouched.
    int Feed(const uint8_t* bytes, size_t count, int32_t& reading);

    int32_t ReplyLength() const { return replyLength_; }
    // Drops a reply in progress: bytes of a device that went away are not
    // the start of the next one's reply.
    void Clear() { replyLength_ = 0; }

  private:
    std::array<char, BufferSize> replyBuffer_{};
    int32_t replyLength_ = 0;
};

}  // namespace quolix
