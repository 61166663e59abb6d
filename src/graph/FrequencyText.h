#pragma once

#include <cstdint>
#include <string>

namespace quolix {

// The one program-wide frequency text. Every FormatFrequency call overwrites
// it completely; callers use (or modify) it before the next call.
std::string& FrequencyText();

// Turns a reading into right-aligned kHz text by resolution: 0 = 100 Hz,
// 1 = 10 Hz, 2 = 1 Hz per count ("  123,456.7", " 12,345.67", " 1,234.567"
// for 1234567). Any other resolution leaves the plain "%08d" text. Returns the
// shared text of FrequencyText().
const std::string& FormatFrequency(int32_t reading, int32_t resolution);

}  // namespace quolix
