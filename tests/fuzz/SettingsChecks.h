#pragma once

#include <cstddef>
#include <cstdint>

namespace quolix::fuzz {

// Reads the bytes as a settings file and requires: the line file cuts them
// into the lines the terminator rules give and then stays at the end; a
// refused file gives exactly the defaults, whatever the record held before; a
// loaded record is saved and loads back unchanged, apart from the
// normalisation a save makes (texts cut to 256 bytes, control bytes that would
// end a line as blanks, an empty text as one blank). Returns 0, as libFuzzer
// expects.
int CheckSettings(const uint8_t* data, size_t size);

}  // namespace quolix::fuzz
