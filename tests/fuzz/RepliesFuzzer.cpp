// libFuzzer's entry point for the counter's reply stream.
#include <cstddef>
#include <cstdint>

#include "fuzz/ReplyChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return quolix::fuzz::CheckReplies(data, size);
}
