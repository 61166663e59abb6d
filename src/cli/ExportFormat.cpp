#include "cli/ExportFormat.h"

#include <algorithm>

#include "acquisition/CQuolixDoc.h"
#include "acquisition/RecordingMetadata.h"
#include "base/Cp932.h"
#include "cli/TerminalText.h"

namespace quolix::cli {

namespace {

std::string IntegerText(Int128 value) {
    if (value == 0) {
        return "0";
    }
    const bool negative = value < 0;
    std::string digits;
    // Digit by digit from the low end; the sign is applied to each remainder
    // so that the most negative value needs no negation.
    for (; value != 0; value /= 10) {
        const auto digit = static_cast<int>(value % 10);
        digits.insert(digits.begin(), static_cast<char>('0' + (digit < 0 ? -digit : digit)));
    }
    return negative ? "-" + digits : digits;
}

struct Columns {
    std::string header;
    char separator = ',';
};

void AddComments(const CQuolixDoc& doc, std::string& text) {
    for (const std::string& comment : doc.comments) {
        // One comment, one line: control bytes show as escapes.
        const std::string line = TerminalSafe(Cp932ToUtf8Lossy(comment));
        text += line.empty() ? "#\n" : "# " + line + "\n";
    }
}

void AddTable(const CQuolixDoc& doc, const ExportRequest& request, int32_t count,
              std::string& text) {
    const RecordingMetadata metadata = recordingmeta::Read(doc.comments);
    const char separator = request.kind == ExportKind::Tsv ? '\t' : ',';
    for (const char* name : {"time_s", "reading", "frequency_hz"}) {
        text += name;
        text += separator;
    }
    text.back() = '\n';
    if (metadata.startKnown) {
        text.insert(text.size() - 1, std::string(1, separator) + "utc");
    }
    for (int32_t i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        text += std::to_string(doc.times[at]) + separator + std::to_string(doc.readings[at]) +
                separator + std::to_string(int64_t{doc.readings[at]} * request.countHz);
        if (metadata.startKnown) {
            text += separator + recordingmeta::UtcText(metadata.start.utcSeconds + doc.times[at]);
        }
        text += '\n';
    }
}

}  // namespace

std::optional<ExportKind> ExportKindNamed(std::string_view name) {
    if (name == "csv") {
        return ExportKind::Csv;
    }
    if (name == "tsv") {
        return ExportKind::Tsv;
    }
    if (name == "phase") {
        return ExportKind::Phase;
    }
    if (name == "freq") {
        return ExportKind::Freq;
    }
    return std::nullopt;
}

std::string DecimalRatio(Int128 numerator, Int128 denominator, int digits) {
    Int128 scale = 1;
    for (int i = 0; i < digits; ++i) {
        scale *= 10;
    }
    const bool negative = numerator < 0;
    const Int128 magnitude = negative ? -numerator : numerator;
    const Int128 scaled = (magnitude * scale * 2 + denominator) / (denominator * 2);
    std::string text = (negative && scaled != 0 ? "-" : "") + IntegerText(scaled / scale);
    if (digits <= 0) {
        return text;
    }
    std::string fraction = IntegerText(scaled % scale);
    fraction.insert(0, static_cast<std::size_t>(digits) - fraction.size(), '0');
    return text + "." + fraction;
}

Status FormatExport(const CQuolixDoc& doc, const ExportRequest& request, std::string& text) {
    const int32_t count = doc.count < 0 ? 0 : std::min(doc.count, CQuolixDoc::SampleCapacity);
    std::string out;
    if (request.comments) {
        AddComments(doc, out);
    }
    if (request.kind == ExportKind::Csv || request.kind == ExportKind::Tsv) {
        AddTable(doc, request, count, out);
        text = std::move(out);
        return Status{};
    }
    // Fractional frequency y = (f - f0) / f0, in hertz times countHz, so
    // that both references share one denominator.
    Int128 reference = 0;
    if (request.nominalHz) {
        reference = *request.nominalHz;
    } else if (count > 0) {
        reference = Int128{doc.readings[0]} * request.countHz;
    }
    if (count > 0 && reference <= 0) {
        return Status::Failure(request.nominalHz
                                   ? "--nominal には正の周波数を指定してください。"
                                   : "最初の読み値が 0 以下のため、比べる周波数がありません。"
                                     "--nominal で指定してください。");
    }
    Int128 phase = 0;
    for (int32_t i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const Int128 offset = Int128{doc.readings[at]} * request.countHz - reference;
        // Each reading stands for the time since the previous sample: the
        // phase grows by y times that time.
        if (i > 0) {
            phase += offset * (Int128{doc.times[at]} - doc.times[at - 1]);
        }
        out += std::to_string(doc.times[at]) + ' ' +
               DecimalRatio(request.kind == ExportKind::Freq ? offset : phase, reference,
                            FractionDigits) +
               '\n';
    }
    text = std::move(out);
    return Status{};
}

}  // namespace quolix::cli
