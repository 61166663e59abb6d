#include "graph/LiveReadout.h"

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "graph/FrequencyText.h"
#include "settings/SettingsRecord.h"
#include "support/RecordingDeviceContext.h"

namespace quolix {
namespace {

using Log = std::vector<std::string>;

const std::string Face = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";
const LocalTime Morning{2024, 3, 7, 9, 5, 3};

std::string FontLine(int size) {
    return "font " + std::to_string(size) + " " + Face;
}

SettingsRecord WithResolution(int32_t resolution) {
    SettingsRecord settings;
    settings.ApplyDefaults();
    settings.Int(SettingsRecord::Resolution) = resolution;
    return settings;
}

Log Draw(int printing, int offline, int32_t reading, int32_t resolution, Rect window,
         const LocalTime& now = Morning) {
    RecordingDeviceContext dc;
    dc.SelectFont(Font{77, "before"});
    dc.Clear();
    DrawLiveReadout(dc, printing, offline, reading, WithResolution(resolution), window, now);
    if (!dc.Calls().empty()) {
        EXPECT_EQ(dc.CurrentFont(), (Font{77, "before"}));
    }
    return dc.Log();
}

constexpr Rect Window600x480{0, 0, 600, 480};

// At 600 x 480: reading at (10, 10) in the 20-point font; base font 100,
// h = 96 x 100 / 720 = 13, clock at (400, 70 - 32).
TEST(LiveReadoutTest, OnlineReadingAtTwoResolutions) {
    EXPECT_EQ(Draw(0, 0, 1234567, 0, Window600x480),
              (Log{FontLine(200), "text 10 10     123,456.7kHz          ", FontLine(100),
                   "text 400 38 2024-3-7  9:05:03", "font 77 before"}));
    EXPECT_EQ(Draw(0, 0, 1234567, 2, Window600x480),
              (Log{FontLine(200), "text 10 10    1,234.567kHz          ", FontLine(100),
                   "text 400 38 2024-3-7  9:05:03", "font 77 before"}));
}

TEST(LiveReadoutTest, NoReplyYetShowsZero) {
    EXPECT_EQ(Draw(0, 0, 0, 0, Window600x480)[1], "text 10 10           0.0kHz          ");
}

TEST(LiveReadoutTest, OfflineTextAtTwoResolutions) {
    for (const int32_t resolution : {0, 2}) {
        EXPECT_EQ(Draw(0, 1, 1234567, resolution, Window600x480),
                  (Log{FontLine(200), "text 10 10     OFF LINE         ", FontLine(100),
                       "text 400 38 2024-3-7  9:05:03", "font 77 before"}));
    }
}

TEST(LiveReadoutTest, OfflineStillReplacesTheSharedFrequencyText) {
    FrequencyText() = "stale";
    Draw(0, 1, 1234567, 1, Window600x480);
    EXPECT_EQ(FrequencyText(), " 12,345.67");
}

TEST(LiveReadoutTest, NothingWhilePrinting) {
    EXPECT_FALSE(LiveReadoutDraws(1));
    EXPECT_TRUE(LiveReadoutDraws(0));
    FrequencyText() = "untouched";
    EXPECT_EQ(Draw(1, 0, 1234567, 0, Window600x480), Log{});
    EXPECT_EQ(Draw(1, 1, 1234567, 0, Window600x480), Log{});
    EXPECT_EQ(FrequencyText(), "untouched");
}

// At 800 x 600: x 8000 / 600 = 13, y 6000 / 480 = 12, large font 250; base
// font 125, h = 16; clock at (533, 87 - 40).
TEST(LiveReadoutTest, FollowsAResize) {
    EXPECT_EQ(Draw(0, 0, 5, 1, Rect{0, 0, 800, 600}),
              (Log{FontLine(250), "text 13 12         0.05kHz          ", FontLine(125),
                   "text 533 47 2024-3-7  9:05:03", "font 77 before"}));
}

TEST(ClockTextTest, MinutesAndSecondsTwoDigitsTheRestPlain) {
    EXPECT_EQ(FormatClock(LocalTime{2024, 12, 31, 23, 59, 59}), "2024-12-31  23:59:59");
    EXPECT_EQ(FormatClock(LocalTime{2025, 1, 1, 0, 0, 0}), "2025-1-1  0:00:00");
    EXPECT_EQ(FormatClock(LocalTime{}), "0-0-0  0:00:00");
}

// The C library reads the zone from TZ; Windows' has no setenv.
void SetTimeZone(const char* zone) {
#ifdef _WIN32
    _putenv_s("TZ", zone == nullptr ? "" : zone);
#else
    if (zone == nullptr) {
        unsetenv("TZ");
    } else {
        setenv("TZ", zone, 1);
    }
#endif
    tzset();
}

class LocalClockTest : public testing::Test {
  protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        hadTz_ = tz != nullptr;
        if (hadTz_) {
            savedTz_ = tz;
        }
        SetTimeZone("UTC");
    }
    void TearDown() override { SetTimeZone(hadTz_ ? savedTz_.c_str() : nullptr); }
    bool hadTz_ = false;
    std::string savedTz_;
};

TEST_F(LocalClockTest, ConvertsAMoment) {
    EXPECT_EQ(ToLocalTime(1700000000), (LocalTime{2023, 11, 14, 22, 13, 20}));
    EXPECT_EQ(ToLocalTime(0), (LocalTime{1970, 1, 1, 0, 0, 0}));
}

TEST_F(LocalClockTest, AMomentBeyondTheCalendarGivesZeros) {
    EXPECT_EQ(ToLocalTime(std::numeric_limits<std::time_t>::max()), LocalTime{});
}

}  // namespace
}  // namespace quolix
