#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quolix::fuzz {

// One line as a reader of the settings file gets it: its length in bytes
// and its text up to the first NUL byte.
struct LinePiece {
    int length = 0;
    std::string text;
};

// The line file's terminator rules written a second time, to judge the line
// file by: CR LF ends a line; a lone CR or LF ends one when TAB or a byte from
// 0x21 to 0x7F follows (the byte after it, taken as signed, above 0x20); FF
// always ends one; 0x1A, or the end of the bytes before a terminator, ends
// reading for good. A line longer than 256 bytes comes in pieces of 256.
std::vector<LinePiece> CutLines(std::span<const uint8_t> bytes);

}  // namespace quolix::fuzz
