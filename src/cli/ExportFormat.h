#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/Status.h"

namespace quolix {

class CQuolixDoc;

namespace cli {

// Sums of reading differences times seconds can pass 64 bits.
__extension__ typedef __int128 Int128;

// What export writes. Csv and Tsv: time, reading, frequency in hertz and,
// when the recording says when it started, the UTC time of each sample.
// Phase and Freq: two blank-separated columns for stability analysis,
// seconds and the phase (seconds) or fractional frequency against the first
// reading or a nominal frequency.
enum class ExportKind { Csv, Tsv, Phase, Freq };

struct ExportRequest {
    ExportKind kind = ExportKind::Csv;
    // Hertz per count: 100, 10 or 1.
    int32_t countHz = 100;
    // The reference of Phase and Freq; none: the first reading.
    std::optional<int64_t> nominalHz;
    // The five comments as "# " lines first.
    bool comments = false;
};

// Digits after the point of fractional frequencies and phases.
constexpr int FractionDigits = 15;

// "csv", "tsv", "phase", "freq"; none for anything else.
std::optional<ExportKind> ExportKindNamed(std::string_view name);

// The text of the request into text; fails (text untouched) when Phase or
// Freq have no usable reference: a first reading or nominal of 0 or below.
Status FormatExport(const CQuolixDoc& doc, const ExportRequest& request, std::string& text);

// numerator / denominator (denominator above 0) in decimal, rounded half away
// from zero to `digits` places: exact integer arithmetic, no floating point.
std::string DecimalRatio(Int128 numerator, Int128 denominator, int digits);

}  // namespace cli
}  // namespace quolix
