#include "cli/ExportFormat.h"

#include <string>

#include <gtest/gtest.h>

#include "acquisition/CQuolixDoc.h"

namespace quolix::cli {
namespace {

// A 10 MHz oscillator at 1 Hz per count: +1, then -2 Hz against the first
// reading, the second interval two seconds long.
void Oscillator(CQuolixDoc& doc) {
    doc.times[0] = 0;
    doc.times[1] = 1;
    doc.times[2] = 3;
    doc.readings[0] = 10'000'000;
    doc.readings[1] = 10'000'001;
    doc.readings[2] = 9'999'998;
    doc.count = 3;
}

std::string Export(const CQuolixDoc& doc, const ExportRequest& request) {
    std::string text = "untouched";
    const Status result = FormatExport(doc, request, text);
    return result.ok ? text : "failed: " + result.message;
}

struct RatioCase {
    int64_t numerator;
    int64_t denominator;
    int digits;
    std::string text;
};

class DecimalRatioText : public ::testing::TestWithParam<RatioCase> {};

TEST_P(DecimalRatioText, IsRoundedHalfAwayFromZeroWithoutFloatingPoint) {
    const RatioCase& c = GetParam();
    EXPECT_EQ(DecimalRatio(c.numerator, c.denominator, c.digits), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecimalRatioText,
    ::testing::Values(RatioCase{1, 10'000'000, 15, "0.000000100000000"},
                      RatioCase{-1, 3, 15, "-0.333333333333333"},
                      RatioCase{2, 3, 15, "0.666666666666667"},
                      RatioCase{-1, 2'000'000'000'000'000, 15, "-0.000000000000001"},
                      RatioCase{-1, 3'000'000'000'000'000, 15, "0.000000000000000"},
                      RatioCase{7, 2, 0, "4"}, RatioCase{-7, 2, 0, "-4"},
                      RatioCase{INT64_MAX, 1, 15, "9223372036854775807.000000000000000"}));

TEST(ExportFormatTest, CsvAndTsvAddUtcWhenTheRecordingSaysWhenItStarted) {
    CQuolixDoc doc;
    Oscillator(doc);
    EXPECT_EQ(Export(doc, {ExportKind::Csv, 1, std::nullopt, false}),
              "time_s,reading,frequency_hz\n0,10000000,10000000\n1,10000001,10000001\n"
              "3,9999998,9999998\n");
    doc.comments = {"run", "", "", "QLX1 start=2026-12-07T08:10:00+09:00", "QLX1 count=1Hz"};
    EXPECT_EQ(Export(doc, {ExportKind::Tsv, 10, std::nullopt, true}),
              "# run\n#\n#\n# QLX1 start=2026-12-07T08:10:00+09:00\n# QLX1 count=1Hz\n"
              "time_s\treading\tfrequency_hz\tutc\n"
              "0\t10000000\t100000000\t2026-12-06T23:10:00Z\n"
              "1\t10000001\t100000010\t2026-12-06T23:10:01Z\n"
              "3\t9999998\t99999980\t2026-12-06T23:10:03Z\n");
}

TEST(ExportFormatTest, FreqAndPhaseAreRelativeToTheFirstReadingOrTheNominal) {
    CQuolixDoc doc;
    Oscillator(doc);
    EXPECT_EQ(Export(doc, {ExportKind::Freq, 1, std::nullopt, false}),
              "0 0.000000000000000\n1 0.000000100000000\n3 -0.000000200000000\n");
    // Phase: +1e-7 for one second, then -2e-7 for two.
    EXPECT_EQ(Export(doc, {ExportKind::Phase, 1, std::nullopt, false}),
              "0 0.000000000000000\n1 0.000000100000000\n3 -0.000000300000000\n");
    // Against 10 MHz + 1 Hz at 100 Hz per count (1 GHz readings).
    EXPECT_EQ(Export(doc, {ExportKind::Freq, 100, 1'000'000'001, false}),
              "0 -0.000000001000000\n1 0.000000099000000\n3 -0.000000201000000\n");
}

TEST(ExportFormatTest, WithoutAPositiveReferenceNothingIsWritten) {
    CQuolixDoc doc;
    Oscillator(doc);
    doc.readings[0] = 0;
    EXPECT_TRUE(Export(doc, {ExportKind::Freq, 1, std::nullopt, false}).starts_with("failed: "));
    EXPECT_EQ(Export(doc, {ExportKind::Freq, 1, 10'000'000, false}).substr(0, 20),
              "0 -1.000000000000000");
    const CQuolixDoc empty;
    EXPECT_EQ(Export(empty, {ExportKind::Phase, 1, std::nullopt, false}), "");
}

}  // namespace
}  // namespace quolix::cli
