#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quolix {

class CQuolixDoc;
struct CliContext;

// quolix-cli export FILE.qlx [-o OUT.csv] [--resolution 0|1|2]: the samples
// as CSV, to a file or to standard output.
class ExportCommand {
  public:
    static constexpr std::string_view Header = "time_s,reading,frequency_hz";

    static std::string Usage();
    static int Main(const std::vector<std::string>& args, CliContext& context);

    // Hertz per count: 100, 10 or 1 for resolutions 0, 1 and 2; 0 for any
    // other resolution, which has no defined unit.
    static int32_t HzPerCount(int32_t resolution);
    // The header line and one line per sample: time in seconds, the reading,
    // and the frequency in whole hertz.
    static std::string FormatCsv(const CQuolixDoc& doc, int32_t resolution);
};

}  // namespace quolix
