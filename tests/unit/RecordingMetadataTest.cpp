#include "acquisition/RecordingMetadata.h"

#include <string>

#include <gtest/gtest.h>

namespace quolix {
namespace {

CQuolixDoc::Comments WithLastTwo(const std::string& fourth, const std::string& fifth) {
    return {"", "", "", fourth, fifth};
}

struct StartCase {
    WallTime start;
    std::string text;
};

class RecordingStartText : public ::testing::TestWithParam<StartCase> {};

TEST_P(RecordingStartText, IsLocalIsoTimeAndReadsBackAsTheSameMoment) {
    const StartCase& c = GetParam();
    EXPECT_EQ(recordingmeta::StartText(c.start), c.text);
    const RecordingMetadata read = recordingmeta::Read(WithLastTwo(c.text, ""));
    ASSERT_TRUE(read.startKnown);
    EXPECT_EQ(read.start.utcSeconds, c.start.utcSeconds);
    EXPECT_EQ(read.start.offsetSeconds, c.start.offsetSeconds);
    EXPECT_EQ(read.countHz, 0);
}

// 1'796'598'600 s is 2026-12-06T23:10:00Z.
INSTANTIATE_TEST_SUITE_P(
    Offsets, RecordingStartText,
    ::testing::Values(StartCase{{1'796'598'600, 9 * 3600}, "QLX1 start=2026-12-07T08:10:00+09:00"},
                      StartCase{{1'796'598'600, 0}, "QLX1 start=2026-12-06T23:10:00+00:00"},
                      StartCase{{1'796'598'600, -(5 * 3600 + 1800)},
                                "QLX1 start=2026-12-06T17:40:00-05:30"},
                      StartCase{{951'782'400, 0}, "QLX1 start=2000-02-29T00:00:00+00:00"},
                      StartCase{{-1, 0}, "QLX1 start=1969-12-31T23:59:59+00:00"}));

TEST(RecordingMetadataTest, TheUnitTextNamesCountPortDeviceAndProgram) {
    const std::string text =
        recordingmeta::UnitText(2, {"COM1", "/dev/serial/by id/x%", "quolix-cli 1.1"});
    EXPECT_EQ(text, "QLX1 count=1Hz port=COM1 device=/dev/serial/by%20id/x%25 by=quolix-cli 1.1");
    EXPECT_EQ(recordingmeta::Read(WithLastTwo("", text)).countHz, 1);
    EXPECT_EQ(recordingmeta::UtcText(1'796'598'600), "2026-12-06T23:10:00Z");
}

// Whatever else comments 4 and 5 hold is "start unknown, unit unknown".
class ForeignMetadata : public ::testing::TestWithParam<std::string> {};

TEST_P(ForeignMetadata, IsReadAsUnknown) {
    const RecordingMetadata read = recordingmeta::Read(WithLastTwo(GetParam(), GetParam()));
    EXPECT_FALSE(read.startKnown);
    EXPECT_EQ(read.countHz, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ForeignMetadata,
    ::testing::Values("", "start=2026-12-07T08:10:00Z count=1Hz", "QLX1",
                      "QLX2 start=2026-12-07T08:10:00Z count=1Hz",
                      "QLX1 start=2026-13-07T08:10:00Z", "QLX1 start=2026-02-30T08:10:00Z",
                      "QLX1 start=2026-12-07T08:10:00+19:00", "QLX1 start=2026-12-07 08:10:00Z",
                      "QLX1 start=2026-12-07T08:10:00", "QLX1 count=5Hz", "QLX1 count=Hz",
                      "QLX1 count=1kHz", "QLX1 by=start=2026-12-07T08:10:00Z count=1Hz"));

}  // namespace
}  // namespace quolix
