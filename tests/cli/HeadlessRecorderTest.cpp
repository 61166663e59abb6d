#include "cli/HeadlessRecorder.h"

#include <signal.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "acquisition/CQuolixDoc.h"
#include "cli/CapturedStream.h"
#include "cli/CliProcess.h"
#include "cli/ExitStatus.h"
#include "cli/RawLog.h"
#include "cli/Reporter.h"
#include "cli/StopSignal.h"
#include "framework/DocumentFile.h"
#include "link/CounterLink.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsStore.h"

// The recording host in accelerated time: 1 ms ticks and a counter that
// answers from memory. The counter's reading is 1000 plus the number of the
// receive step, so every stored reading tells which tick produced it.

namespace quolix::cli {
namespace {

using testing::CapturedStream;
using testing::TempDir;

constexpr int64_t FastTickNs = 1'000'000;

class ScriptedCounter : public CounterLink {
  public:
    int OpenPort(int) override {
        ++opens;
        return openResult;
    }
    int SendByte(uint8_t) override {
        ++sent;
        if (afterSend) {
            afterSend(sent);
        }
        return 1;
    }
    int ReceivePending(int32_t& reading) override {
        ++receives;
        if (receives < firstAnswer || (silentEvery > 0 && receives % silentEvery == 0)) {
            return 0;
        }
        reading = 1000 + receives;
        return 1;
    }
    void ClosePort() override { ++closes; }

    int openResult = 1;
    // The receive step from which the counter answers.
    int firstAnswer = 1;
    // Every so many receive steps bring nothing; 0: none.
    int silentEvery = 0;
    std::function<void(int)> afterSend;
    int opens = 0;
    int sent = 0;
    int receives = 0;
    int closes = 0;
};

class HeadlessRecorderTest : public ::testing::Test {
  protected:
    HeadlessRecorderTest() : reporter(err.Stream(), "quolix-cli") {
        config.outputPath = dir.File("rec.qlx");
        config.settings =
            SettingsLocation::Explicit(dir.File("quolix.ini"));  // absent: the defaults
        config.comments = {"first", "second", "third", "", ""};
        config.tickPeriodNs = FastTickNs;
    }

    int Run() {
        HeadlessRecorder recorder(counter, config, out.Stream(), reporter,
                                  [] { return std::string("/dev/fake0"); });
        const int status = recorder.Run(stop);
        recorded.count = recorder.Document().count;
        recorded.times = recorder.Document().times;
        recorded.readings = recorder.Document().readings;
        recorded.comments = recorder.Document().comments;
        return status;
    }

    // The samples of the file on disk as (time, reading) pairs.
    std::vector<std::pair<int32_t, int32_t>> FileSamples(CQuolixDoc& loaded) {
        const Status result = docfile::Open(loaded, config.outputPath);
        EXPECT_TRUE(result.ok) << result.message;
        std::vector<std::pair<int32_t, int32_t>> samples;
        for (int32_t i = 0; i < loaded.count; ++i) {
            samples.emplace_back(loaded.times[static_cast<size_t>(i)],
                                 loaded.readings[static_cast<size_t>(i)]);
        }
        return samples;
    }

    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    TempDir dir;
    CapturedStream out;
    CapturedStream err;
    Reporter reporter;
    ScriptedCounter counter;
    RecorderConfig config;
    volatile sig_atomic_t stop = 0;
    CQuolixDoc recorded;
};

TEST_F(HeadlessRecorderTest, RecordsEverySecondFromTimeZeroWithTheCountersReadings) {
    config.durationSeconds = 3;
    ASSERT_EQ(Run(), ExitOk);
    CQuolixDoc loaded;
    // Start comes with the first answer (receive step 1); second t ends at
    // tick 1 + 4t, whose reply carries the sample.
    const std::vector<std::pair<int32_t, int32_t>> expected = {
        {0, 1001}, {1, 1005}, {2, 1009}, {3, 1013}};
    EXPECT_EQ(FileSamples(loaded), expected);
    EXPECT_EQ(loaded.comments, recorded.comments);
    EXPECT_EQ(loaded.comments[0], "first");
    EXPECT_EQ(loaded.comments[2], "third");
    EXPECT_EQ(Lines(out.Text()), (std::vector<std::string>{
                                     "       0 s       1001       100.1 kHz",
                                     "       1 s       1005       100.5 kHz",
                                     "       2 s       1009       100.9 kHz",
                                     "       3 s       1013       101.3 kHz",
                                 }));
    EXPECT_EQ(counter.opens, 1);
    EXPECT_EQ(counter.closes, 1);
    EXPECT_NE(err.Text().find("/dev/fake0: 記録を開始しました。"), std::string::npos);
    // Nothing but the recording is left behind.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"rec.qlx"});
}

TEST_F(HeadlessRecorderTest, TheKilohertzTextFollowsTheResolutionOfTheSettings) {
    SettingsRecord settings;
    settings.ApplyDefaults();
    settings.Int(SettingsRecord::Resolution) = 2;
    ASSERT_TRUE(SettingsStore(config.settings).SaveFrom(settings));
    config.durationSeconds = 1;
    ASSERT_EQ(Run(), ExitOk);
    EXPECT_EQ(Lines(out.Text()), (std::vector<std::string>{
                                     "       0 s       1001      1.001 kHz",
                                     "       1 s       1005      1.005 kHz",
                                 }));
}

TEST_F(HeadlessRecorderTest, StartsOnlyOnceTheCounterAnswersAndSaysItIsWaiting) {
    // The duration counts the wait too: 17 ticks, the first answer at the 12th.
    config.durationSeconds = 4;
    counter.firstAnswer = 12;
    ASSERT_EQ(Run(), ExitOk);
    CQuolixDoc loaded;
    const std::vector<std::pair<int32_t, int32_t>> expected = {{0, 1012}, {1, 1016}};
    EXPECT_EQ(FileSamples(loaded), expected);
    EXPECT_NE(err.Text().find("/dev/fake0: カウンタの応答を待っています。"), std::string::npos);
}

TEST_F(HeadlessRecorderTest, TheRawLogHasALinePerAnsweredPollAndTheFileItsUnit) {
    config.durationSeconds = 3;
    counter.silentEvery = 3;
    config.origin = {"", "/dev/fake0", "quolix-cli test"};
    const std::string rawPath = dir.File("raw.csv");
    RawLog raw(rawPath);
    ASSERT_TRUE(raw.Ok());
    config.raw = &raw;
    ASSERT_EQ(Run(), ExitOk);
    EXPECT_EQ(recorded.comments[4], "QLX1 count=100Hz device=/dev/fake0 by=quolix-cli test");
    EXPECT_TRUE(recorded.comments[3].starts_with("QLX1 start=")) << recorded.comments[3];
    // Receive steps 1 to 13 ran while recording; every third brought nothing.
    const std::vector<std::string> lines = Lines(testing::ReadFile(rawPath));
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], RawLog::Header);
    std::vector<std::string> readings;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> fields;
        std::istringstream fieldsIn(lines[i]);
        for (std::string field; std::getline(fieldsIn, field, ',');) {
            fields.push_back(field);
        }
        ASSERT_EQ(fields.size(), 4u) << lines[i];
        EXPECT_EQ(std::stoll(fields[3]), std::stoll(fields[2]) * 100) << lines[i];
        readings.push_back(fields[2]);
    }
    EXPECT_EQ(readings, (std::vector<std::string>{"1001", "1002", "1004", "1005", "1007", "1008",
                                                  "1010", "1011", "1013"}));
}

TEST_F(HeadlessRecorderTest, ARawLogThatCannotBeWrittenIsToldOnceAndTheRecordingGoesOn) {
    config.durationSeconds = 2;
    RawLog raw("/dev/full");
    ASSERT_TRUE(raw.Ok());
    config.raw = &raw;
    ASSERT_EQ(Run(), ExitOk);
    EXPECT_EQ(recorded.count, 3);
    const std::string told = "/dev/full: 書き込めなくなりました。記録は続けます。";
    const std::string errors = err.Text();
    const size_t first = errors.find(told);
    EXPECT_NE(first, std::string::npos) << errors;
    EXPECT_EQ(errors.find(told, first + 1), std::string::npos) << errors;
}

TEST_F(HeadlessRecorderTest, SaysWhenTheIntervalWidensAtTheSampleLimit) {
    config.tickPeriodNs = FastTickNs / 10;
    config.durationSeconds = 2041;
    ASSERT_EQ(Run(), ExitOk);
    EXPECT_EQ(recorded.count, 1021);
    const std::string told = "rec.qlx: 記録間隔を 2 秒に変更しました (2040 → 1021 サンプル)";
    const std::string errors = err.Text();
    const size_t first = errors.find(told);
    EXPECT_NE(first, std::string::npos) << errors;
    EXPECT_EQ(errors.find(told, first + 1), std::string::npos) << errors;
}

TEST_F(HeadlessRecorderTest, APortThatDoesNotOpenEndsWithStatusTwoAndNoFile) {
    counter.openResult = 0;
    EXPECT_EQ(Run(), ExitPortError);
    EXPECT_EQ(err.Text(),
              "quolix-cli: /dev/fake0: カウンタとの通信に失敗しました。\n"
              "COM1: 開けません。\n");
    EXPECT_EQ(counter.sent, 0);
    EXPECT_FALSE(std::filesystem::exists(config.outputPath));
    EXPECT_EQ(out.Text(), "");
}

// Nothing recorded, nothing written: an empty file would replace a recording
// that may be there.
TEST_F(HeadlessRecorderTest, AStopBeforeTheCounterAnswersWritesNoFileAndEndsWithStatusTwo) {
    counter.firstAnswer = 1'000'000;
    counter.afterSend = [this](int sent) {
        if (sent == 10) {
            stop = 1;
        }
    };
    ASSERT_EQ(Run(), ExitPortError);
    EXPECT_FALSE(std::filesystem::exists(config.outputPath));
    EXPECT_NE(err.Text().find("ファイルは変更していません"), std::string::npos);
}

TEST_F(HeadlessRecorderTest, AStopDuringTheRecordingKeepsEverySampleTaken) {
    // The first request goes out at creation, one more at every tick.
    counter.afterSend = [this](int sent) {
        if (sent == 1 + 10) {
            stop = 1;
        }
    };
    ASSERT_EQ(Run(), ExitOk);
    CQuolixDoc loaded;
    const std::vector<std::pair<int32_t, int32_t>> expected = {{0, 1001}, {1, 1005}, {2, 1009}};
    EXPECT_EQ(FileSamples(loaded), expected);
    EXPECT_EQ(recorded.count, 3);
}

TEST_F(HeadlessRecorderTest, SigtermEndsTheRecordingInOrder) {
    StopSignal::Clear();
    const StopSignal signals;
    counter.afterSend = [](int sent) {
        if (sent == 1 + 6) {
            ::raise(SIGTERM);
        }
    };
    HeadlessRecorder recorder(counter, config, out.Stream(), reporter,
                              [] { return std::string("/dev/fake0"); });
    EXPECT_EQ(recorder.Run(StopSignal::Flag()), ExitOk);
    StopSignal::Clear();
    CQuolixDoc loaded;
    const std::vector<std::pair<int32_t, int32_t>> expected = {{0, 1001}, {1, 1005}};
    EXPECT_EQ(FileSamples(loaded), expected);
    EXPECT_EQ(counter.closes, 1);
}

TEST_F(HeadlessRecorderTest, AFileThatCannotBeWrittenIsReportedAndEndsWithStatusOne) {
    const std::string folder = dir.File("gone");
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    config.outputPath = folder + "/rec.qlx";
    config.durationSeconds = 3;
    // The folder disappears after the first sample was saved.
    counter.afterSend = [&folder](int sent) {
        if (sent == 3) {
            std::filesystem::remove_all(folder);
        }
    };
    EXPECT_EQ(Run(), ExitFileError);
    const std::string messages = err.Text();
    // Once when saving starts to fail, once more for the last write; each
    // time naming the file.
    const std::string failure = config.outputPath + " に保存できませんでした。";
    size_t mentions = 0;
    for (size_t at = messages.find(failure); at != std::string::npos;
         at = messages.find(failure, at + 1)) {
        ++mentions;
    }
    EXPECT_EQ(mentions, 2u) << messages;
    // Recording went on in memory all the same.
    EXPECT_EQ(recorded.count, 4);
    EXPECT_EQ(Lines(out.Text()).size(), 4u);
}

}  // namespace
}  // namespace quolix::cli
