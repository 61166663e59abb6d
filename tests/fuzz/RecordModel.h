#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A record file decoder and encoder written a second time, straight from the
// file layout, to judge the application's own by: the header string, a 32-bit
// count, time/reading pairs, five strings; little-endian; strings with a
// length prefix of one byte, 0xFF and 16 bits, or 0xFF 0xFFFF and 32 bits.
namespace quolix::fuzz {

struct Recording {
    std::vector<int32_t> times;
    std::vector<int32_t> readings;
    std::array<std::string, 5> comments;
};

enum class RecordVerdict {
    Accepted,
    Foreign,    // not our header, or not even a whole string that could be it
    Truncated,  // ends before all it announces, including inside our header
    BadCount,   // a count below 0 or above the 2100 places of the store
};

struct DecodedRecording {
    RecordVerdict verdict = RecordVerdict::Foreign;
    Recording recording;  // meaningful only when accepted
};

DecodedRecording DecodeRecording(std::span<const uint8_t> bytes);
// The bytes a writer produces: every string with its shortest prefix.
std::vector<uint8_t> EncodeRecording(const Recording& recording);

}  // namespace quolix::fuzz
