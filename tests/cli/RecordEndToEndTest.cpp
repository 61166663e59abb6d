// quolix-cli record against the counter simulator on a pseudo-terminal, in
// real time. The simulator plays a script: the reply to request k reads
// 1000 + k. The recorder sends request 0 when it opens the port and one more
// at every tick, and drains each reply at the tick after its request; so the
// sample of second t, taken at the 4t-th tick after Start, reads 4t more than
// the first sample.

#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "acquisition/CQuolixDoc.h"
#include "cli/CliProcess.h"
#include "framework/DocumentFile.h"
#include "support/FakeSerialTree.h"

namespace quolix::cli {
namespace {

using testing::CliProcess;
using testing::FakeSerialTree;
using testing::TempDir;
using testing::WriteFile;

const std::string Cli = QUOLIX_CLI;
const std::string Sim = QUOLIX_COUNTER_SIM;

struct Line {
    int32_t time = -1;
    int32_t reading = 0;
    std::string khz;
};

// "       3 s       1012       101.2 kHz"
Line ParseLine(const std::string& text) {
    Line line;
    std::istringstream in(text);
    std::string seconds;
    std::string unit;
    in >> line.time >> seconds >> line.reading >> line.khz >> unit;
    if (seconds != "s" || unit != "kHz") {
        line.time = -1;
    }
    return line;
}

// The simulator on a pseudo-terminal linked in a folder of the test's own.
class SimulatorTest : public ::testing::Test {
  protected:
    void StartSim(std::vector<std::string> args) {
        ASSERT_TRUE(dir.Ok());
        args.insert(args.begin(), {"--link", Link()});
        ASSERT_TRUE(sim.Start(Sim, args));
        const std::string ready = sim.ReadLine(5000);
        ASSERT_EQ(ready.rfind(Link() + " -> /dev/pts/", 0), 0u) << ready;
    }

    void TearDown() override {
        sim.Signal(SIGTERM);
        sim.Finish(5000);
    }

    std::string Link() const { return dir.File("counter"); }
    std::string Output() const { return dir.File("rec.qlx"); }
    std::string Settings() const { return dir.File("quolix.ini"); }

    TempDir dir;
    CliProcess sim;
};

class RecordEndToEndTest : public SimulatorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.Ok());
        std::string script;
        for (int k = 0; k < 400; ++k) {
            char reply[32];
            std::snprintf(reply, sizeof reply, "%08d\\r\\n\n", 1000 + k);
            script += reply;
        }
        WriteFile(dir.File("replies.txt"), script);
        StartSim({"--script", dir.File("replies.txt")});
    }

    static void ExpectTheSimulatorsReadings(const std::vector<Line>& lines) {
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0].reading, 1000);
        for (size_t t = 0; t < lines.size(); ++t) {
            EXPECT_EQ(lines[t].time, static_cast<int32_t>(t));
            EXPECT_EQ(lines[t].reading - lines[0].reading, static_cast<int32_t>(4 * t));
        }
    }

    void ExpectFileHolds(const std::vector<Line>& lines, CQuolixDoc& doc) {
        const Status loaded = docfile::Open(doc, Output());
        ASSERT_TRUE(loaded.ok) << loaded.message;
        ASSERT_EQ(doc.count, static_cast<int32_t>(lines.size()));
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(doc.times[i], lines[i].time);
            EXPECT_EQ(doc.readings[i], lines[i].reading);
        }
    }

    static std::vector<Line> Lines(const std::string& text) {
        std::vector<Line> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(ParseLine(line));
        }
        return lines;
    }
};

TEST_F(RecordEndToEndTest, FiveSecondsStoreTheSamplesOfSecondsZeroToFive) {
    const CliProcess::Result result =
        CliProcess::Run(Cli, {"--settings", Settings(), "record", "-o", Output(), "--port", Link(),
                              "--duration", "5", "--comment", "端末から", "--comment", "2"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<Line> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 6u) << result.out;
    ExpectTheSimulatorsReadings(lines);
    EXPECT_EQ(lines[0].khz, "100.0");  // 1000 counts of 100 Hz
    CQuolixDoc doc;
    ExpectFileHolds(lines, doc);
    EXPECT_EQ(doc.comments[0], "\x92\x5b\x96\x96\x82\xa9\x82\xe7");  // 端末から
    EXPECT_EQ(doc.comments[1], "2");
    EXPECT_NE(result.err.find(Link() + ": 記録を開始しました。"), std::string::npos) << result.err;
}

TEST_F(RecordEndToEndTest, TheRecordingCarriesItsUnitIntoReadersWithOtherSettings) {
    const auto cli = [this](std::vector<std::string> args) {
        args.insert(args.begin(), {"--settings", Settings()});
        return CliProcess::Run(Cli, args);
    };
    ASSERT_EQ(cli({"settings", "--set", "17=2"}).status, 0);  // 1 Hz per count
    const CliProcess::Result recorded =
        cli({"record", "-o", Output(), "--port", Link(), "--duration", "1"});
    ASSERT_EQ(recorded.status, 0) << recorded.err;
    ASSERT_EQ(cli({"settings", "--set", "17=0"}).status, 0);  // now 100 Hz

    const CliProcess::Result info = cli({"info", Output(), "--json"});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find(", \"start\": \"20"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find(", \"count_hz\": 1}"), std::string::npos) << info.out;

    const CliProcess::Result csv = cli({"export", Output()});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_NE(csv.err.find("読み値 1 カウントを 1 Hz とします (記録ファイルの注釈5 による)"),
              std::string::npos)
        << csv.err;
    std::istringstream rows(csv.out);
    std::string row;
    std::getline(rows, row);
    EXPECT_EQ(row, "time_s,reading,frequency_hz,utc");
    int rowCount = 0;
    while (std::getline(rows, row) && rowCount < 10) {
        ++rowCount;
        std::istringstream fields(row);
        std::string time, reading, hz;
        std::getline(fields, time, ',');
        std::getline(fields, reading, ',');
        std::getline(fields, hz, ',');
        EXPECT_EQ(hz, reading) << row;
    }
    EXPECT_EQ(rowCount, 2);
}

TEST_F(RecordEndToEndTest, SigintLeavesACompleteLoadableFile) {
    // The port of settings slot 15 (COM1: by default), through its variable.
    CliProcess record;
    ASSERT_TRUE(record.Start(Cli, {"--settings", Settings(), "record", "-o", Output()},
                             {{"QUOLIX_COM1", Link()}}));
    std::string printed;
    for (int t = 0; t <= 3; ++t) {
        const std::string line = record.ReadLine(5000);
        ASSERT_EQ(ParseLine(line).time, t) << line;
        printed += line + "\n";
    }
    record.Signal(SIGINT);
    const CliProcess::Result result = record.Finish();
    EXPECT_EQ(result.status, 0) << result.err;
    printed += result.out;
    const std::vector<Line> lines = Lines(printed);
    ExpectTheSimulatorsReadings(lines);
    CQuolixDoc doc;
    ExpectFileHolds(lines, doc);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"counter", "rec.qlx", "replies.txt"}));
}

TEST_F(RecordEndToEndTest, KillingTheRecorderLosesAtMostTheSampleInProgress) {
    CliProcess record;
    ASSERT_TRUE(
        record.Start(Cli, {"--settings", Settings(), "record", "-o", Output(), "--port", Link()}));
    std::vector<Line> lines;
    for (int t = 0; t <= 1; ++t) {
        lines.push_back(ParseLine(record.ReadLine(5000)));
        ASSERT_EQ(lines.back().time, t);
    }
    record.Signal(SIGKILL);
    record.Finish();
    CQuolixDoc doc;
    const Status loaded = docfile::Open(doc, Output());
    ASSERT_TRUE(loaded.ok) << loaded.message;
    // A sample is printed before it is written, so the last one printed may
    // be missing; one after it cannot have been stored.
    ASSERT_GE(doc.count, 1);
    ASSERT_LE(doc.count, 2);
    for (int32_t i = 0; i < doc.count; ++i) {
        EXPECT_EQ(doc.times[static_cast<size_t>(i)], lines[static_cast<size_t>(i)].time);
        EXPECT_EQ(doc.readings[static_cast<size_t>(i)], lines[static_cast<size_t>(i)].reading);
    }
}

// A recorder keeps what is there: an existing file without --overwrite, a
// file another recorder writes, a disk without room for a recording; and it
// sweeps what killed runs left behind in the folder.
TEST_F(RecordEndToEndTest, ARecorderKeepsWhatIsThereAndClaimsItsOutput) {
    CQuolixDoc old;
    old.Append(0, 42);
    ASSERT_TRUE(docfile::SaveAs(old, Output()).ok);
    const std::string oldBytes = testing::ReadFile(Output());
    const std::vector<std::string> record{"--settings", Settings(), "record",     "-o", Output(),
                                          "--port",     Link(),     "--duration", "1"};
    CliProcess::Result result = CliProcess::Run(Cli, record);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(Output() + ": 既にあるため上書きしません。"), std::string::npos)
        << result.err;
    EXPECT_EQ(testing::ReadFile(Output()), oldBytes);

    // No process has this number, so its temporary is a leftover.
    const std::string leftover = dir.File(".quolix-999999999-abcdef");
    WriteFile(leftover, "half a save");
    CliProcess first;
    std::vector<std::string> overwrite = record;
    overwrite.resize(overwrite.size() - 2);
    overwrite.push_back("--overwrite");
    ASSERT_TRUE(first.Start(Cli, overwrite));
    ASSERT_EQ(ParseLine(first.ReadLine(5000)).time, 0);
    EXPECT_FALSE(std::filesystem::exists(leftover));
    result = CliProcess::Run(Cli, overwrite);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find(Output() + ": ほかの記録が使用中"), std::string::npos) << result.err;
    first.Signal(SIGINT);
    EXPECT_EQ(first.Finish().status, 0);

    // A file size limit below one recording stands for a full disk.
    const std::string full = dir.File("full.qlx");
    result = CliProcess::Run(
        "/bin/sh", {"-c", "trap '' XFSZ; ulimit -f 8; exec \"$@\"", "sh", Cli, "--settings",
                    Settings(), "record", "-o", full, "--port", Link(), "--duration", "1"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(full + ": 保存できません。"), std::string::npos) << result.err;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"counter", "rec.qlx", "replies.txt"}));
}

// The counter of the model, which falls silent and later vanishes.
class RecordLinkEndToEndTest : public SimulatorTest {
  protected:
    CliProcess::Result Record(const std::string& seconds, bool overwrite = false) {
        std::vector<std::string> args{"--settings", Settings(), "record",     "-o",   Output(),
                                      "--port",     Link(),     "--duration", seconds};
        if (overwrite) {
            args.push_back("--overwrite");
        }
        return CliProcess::Run(Cli, args);
    }
};

// Each change of the link is told once, in order; the recording goes on
// through both outages, stores nothing while the counter is away, and
// samples again when it is back.
TEST_F(RecordLinkEndToEndTest, SilenceAndLossAreToldAndRecordingResumes) {
    StartSim({"--silent-at", "1.5", "--silent-for", "3", "--vanish-at", "6", "--vanish-for", "2"});
    const CliProcess::Result result = Record("11");
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> told = {
        "カウンタが応答しません。", "カウンタが再び応答しています。",
        "カウンタとの接続が切れました。", "カウンタが再び応答しています。"};
    size_t at = 0;
    for (const std::string& text : told) {
        at = result.err.find(text, at);
        ASSERT_NE(at, std::string::npos) << text << "\n" << result.err;
        at += text.size();
    }
    EXPECT_NE(result.err.find("(うち切断 "), std::string::npos) << result.err;

    CQuolixDoc doc;
    const Status loaded = docfile::Open(doc, Output());
    ASSERT_TRUE(loaded.ok) << loaded.message;
    int gaps = 0;
    for (int32_t i = 1; i < doc.count; ++i) {
        const int32_t step =
            doc.times[static_cast<size_t>(i)] - doc.times[static_cast<size_t>(i - 1)];
        EXPECT_GE(step, 1);
        gaps += step > 1 ? 1 : 0;
    }
    EXPECT_EQ(gaps, 2) << result.out;
    EXPECT_GE(doc.times[static_cast<size_t>(doc.count - 1)], 10) << result.out;
}

// --duration counts from the start of the command; a run that stored nothing
// leaves the recording that was there as it was.
TEST_F(RecordLinkEndToEndTest, ASilentCounterEndsTheRunAndKeepsTheFile) {
    WriteFile(dir.File("silent.txt"), "");
    StartSim({"--script", dir.File("silent.txt")});
    CQuolixDoc old;
    old.Append(0, 1);
    old.Append(1, 2);
    ASSERT_TRUE(docfile::SaveAs(old, Output()).ok);
    const std::string before = testing::ReadFile(Output());
    const CliProcess::Result result = Record("3", true);
    EXPECT_EQ(result.status, 2) << result.err;
    EXPECT_NE(result.err.find("ファイルは変更していません"), std::string::npos) << result.err;
    EXPECT_EQ(testing::ReadFile(Output()), before);
}

// The counter on a USB adapter: the simulator stands behind ttyUSB0 of a fake
// device tree. The first listing gives the adapter COM1, the settings' port,
// which records from it; unplugged, COM1 keeps it and the failure says so.
TEST_F(RecordEndToEndTest, AnAdapterSeenFirstBecomesCom1AndRecords) {
    FakeSerialTree tree;
    const std::string byId = "usb-FTDI_FT232R_USB_UART_A600XYZ-if00-port0";
    tree.AddAdapter("ttyUSB0", byId, "FTDI", "FT232R USB UART", "A600XYZ", Link());
    const std::map<std::string, std::string> system = {{"QUOLIX_DEVICE_ROOT", tree.Root()},
                                                       {"XDG_CONFIG_HOME", dir.File("config")}};

    const CliProcess::Result listed = CliProcess::Run(Cli, {"ports"}, system);
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(
        listed.out.rfind("COM1: FTDI FT232R USB UART (ttyUSB0)  [" + byId + "]\nCOM2: 未接続\n", 0),
        0u)
        << listed.out;

    const CliProcess::Result recorded = CliProcess::Run(
        Cli, {"--settings", Settings(), "record", "-o", Output(), "--duration", "1"}, system);
    ASSERT_EQ(recorded.status, 0) << recorded.err;
    ExpectTheSimulatorsReadings(Lines(recorded.out));

    tree.Unplug("ttyUSB0", byId);
    const CliProcess::Result unplugged = CliProcess::Run(
        Cli, {"--settings", Settings(), "record", "-o", Output(), "--overwrite", "--duration", "1"},
        system);
    EXPECT_EQ(unplugged.status, 2);
    EXPECT_NE(unplugged.err.find("COM1 " + tree.Root() + "/dev/serial/by-id/" + byId +
                                 ": デバイスが接続されていません。"),
              std::string::npos)
        << unplugged.err;
    const CliProcess::Result absent = CliProcess::Run(Cli, {"ports", "--json"}, system);
    EXPECT_NE(absent.out.find("{\"port\": \"COM1\", \"name\": \"" + byId + "\", \"device\": \"" +
                              tree.Root() + "/dev/serial/by-id/" + byId +
                              "\", \"text\": \"未接続\", \"present\": false"),
              std::string::npos)
        << absent.out;
}

}  // namespace
}  // namespace quolix::cli
