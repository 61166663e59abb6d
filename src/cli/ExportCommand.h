#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quolix {

class CQuolixDoc;

namespace cli {

struct CliContext;

// quolix-cli export FILE.qlx [-o OUT] [--format csv|tsv|phase|freq]
// [--nominal HZ] [--comments] [--resolution 0|1|2]: the samples as text, to a
// file or to standard output.

std::string ExportUsage();
int ExportMain(const std::vector<std::string>& args, CliContext& context);

// Hertz per count: 100, 10 or 1 for resolutions 0, 1 and 2; 0 for any other
// resolution, which has no defined unit.
int32_t HzPerCount(int32_t resolution);
// The header line and one line per sample: time in seconds, the reading, the
// frequency in whole hertz and, when the recording says when it started, UTC.
std::string FormatCsv(const CQuolixDoc& doc, int32_t resolution);

}  // namespace cli
}  // namespace quolix
