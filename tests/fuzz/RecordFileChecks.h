#pragma once

#include <cstddef>
#include <cstdint>

namespace quolix::fuzz {

// Opens the bytes as a record file into a document that already holds a
// recording, and requires: the independent decoder agrees on taking or
// refusing the file, on the reason, and on every value; a refused file leaves
// samples, count, comments and name exactly as they were; a taken one is
// saved in the shortest form and loads back unchanged. Returns 0, as
// libFuzzer expects.
int CheckRecordFile(const uint8_t* data, size_t size);

}  // namespace quolix::fuzz
