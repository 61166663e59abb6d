#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quolix {

class CQuolixDoc;

namespace cli {

struct CliContext;

// quolix-cli info FILE.qlx [--json]: what a recording holds.
struct InfoSummary {
    int32_t count = 0;
    // Times and readings are those of the first and last sample; all zero for
    // an empty recording.
    int32_t firstTime = 0;
    int32_t lastTime = 0;
    int32_t firstReading = 0;
    // The interval a recording continued from this file would take; -1 when
    // no interval fits any more.
    int32_t interval = 0;
    bool full = false;
    // The largest distance of any reading from the first one, in counts.
    int64_t largestDeviation = 0;
};

std::string InfoUsage();
int InfoMain(const std::vector<std::string>& args, CliContext& context);

InfoSummary Summarize(CQuolixDoc& doc);
// One JSON object and a newline: header, count, interval, full, samples
// ([time, reading] pairs), comments (UTF-8), start (local ISO 8601 text or
// null), count_hz (or null).
std::string FormatInfoJson(CQuolixDoc& doc);
// Labelled lines for a person; frequencies in kHz at the given resolution.
std::string FormatInfoText(CQuolixDoc& doc, const std::string& path, int32_t resolution);

}  // namespace cli
}  // namespace quolix
