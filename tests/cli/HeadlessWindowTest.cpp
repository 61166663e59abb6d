#include "cli/HeadlessWindow.h"

#include <string>

#include <gtest/gtest.h>

#include "acquisition/CQuolixView.h"
#include "cli/CapturedStream.h"
#include "cli/Reporter.h"
#include "settings/SettingsRecord.h"

namespace quolix::cli {
namespace {

using testing::CapturedStream;

TEST(HeadlessWindowTest, NotesTheTimerTheViewAsksFor) {
    CapturedStream err;
    Reporter reporter(err.Stream(), "quolix-cli");
    HeadlessWindow window(reporter, {});
    EXPECT_FALSE(window.TimerRunning());
    EXPECT_EQ(window.SetTimer(1030, 250), 1030u);
    EXPECT_TRUE(window.TimerRunning());
    EXPECT_EQ(window.TimerPeriodMs(), 250u);
    window.KillTimer(7);
    EXPECT_TRUE(window.TimerRunning());
    window.KillTimer(1030);
    EXPECT_FALSE(window.TimerRunning());
}

TEST(HeadlessWindowTest, RefusesATimerThatCouldNeverTick) {
    CapturedStream err;
    Reporter reporter(err.Stream(), "quolix-cli");
    HeadlessWindow window(reporter, {});
    EXPECT_EQ(window.SetTimer(1030, 0), 0u);
    EXPECT_EQ(window.SetTimer(0, 250), 0u);
    EXPECT_FALSE(window.TimerRunning());
}

TEST(HeadlessWindowTest, TheViewsPortFailureNamesTheDeviceInUtf8) {
    CapturedStream err;
    Reporter reporter(err.Stream(), "quolix-cli");
    HeadlessWindow window(reporter, [] { return std::string("/dev/ttyUSB7"); });
    window.MessageBox(CQuolixView::PortFailureText, CQuolixView::PortFailureCaption);
    EXPECT_EQ(err.Text(), "quolix-cli: /dev/ttyUSB7: カウンタとの通信に失敗しました。\n");
    EXPECT_EQ(window.MessageCount(), 1);
}

TEST(HeadlessWindowTest, WithoutASubjectTheCaptionLeads) {
    CapturedStream err;
    Reporter reporter(err.Stream(), "quolix-cli");
    HeadlessWindow window(reporter, {});
    window.MessageBox(CQuolixView::PortFailureText, CQuolixView::PortFailureCaption);
    EXPECT_EQ(err.Text(), "quolix-cli: 通信ポート情報: カウンタとの通信に失敗しました。\n");
}

TEST(HeadlessWindowTest, HasNothingToDrawOnAndCancelsDialogs) {
    CapturedStream err;
    Reporter reporter(err.Stream(), "quolix-cli");
    HeadlessWindow window(reporter, {});
    EXPECT_EQ(window.GetDC(), nullptr);
    SettingsRecord record;
    record.ApplyDefaults();
    const SettingsRecord before = record;
    EXPECT_EQ(window.RunSettingsDialog(record), DialogResult::Cancel);
    EXPECT_EQ(record, before);
    std::array<std::string, 3> lines = {"a", "b", "c"};
    EXPECT_EQ(window.RunCommentDialog(lines), DialogResult::Cancel);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(err.Text(), "");
}

}  // namespace
}  // namespace quolix::cli
