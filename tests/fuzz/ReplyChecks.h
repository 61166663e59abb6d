#pragma once

#include <cstddef>
#include <cstdint>

namespace quolix::fuzz {

// Feeds the bytes to the reply parser whole, byte by byte and in chunks of
// varying size (0 to a whole drain of 1024 bytes, chosen from the bytes
// themselves), and requires that every way gives the readings the reply rule
// gives, in the same calls. Returns 0, as libFuzzer expects.
int CheckReplies(const uint8_t* data, size_t size);

}  // namespace quolix::fuzz
