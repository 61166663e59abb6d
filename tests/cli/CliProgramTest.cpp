// quolix-cli run as a user runs it: golden recordings, damaged files, the
// settings file, help and mistakes on the command line.

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/CliProcess.h"
#include "support/FakeSerialTree.h"

namespace quolix::cli {
namespace {

using testing::CliProcess;
using testing::FakeSerialTree;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

const std::string Cli = QUOLIX_CLI;
const std::string Golden = QUOLIX_GOLDEN_DIR;

std::string GoldenFile(const std::string& name) {
    return Golden + "/" + name;
}

// Every run names a settings file of its own, so that a quolix.ini lying in
// the build folder cannot change what the tests see.
class CliProgramTest : public ::testing::Test {
  protected:
    CliProcess::Result Run(std::vector<std::string> args,
                           const std::map<std::string, std::string>& environment = {}) {
        args.insert(args.begin(), {"--settings", Settings()});
        return CliProcess::Run(Cli, args, environment);
    }
    std::string Settings() const { return dir.File("quolix.ini"); }

    TempDir dir;
};

// ---- golden recordings

class GoldenRecording : public CliProgramTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(GoldenRecording, InfoJsonIsExactlyTheGoldenObject) {
    const CliProcess::Result result = Run({"info", GoldenFile(GetParam() + ".qlx"), "--json"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, ReadFile(GoldenFile(GetParam() + ".json")));
    EXPECT_EQ(result.err, "");
}

TEST_P(GoldenRecording, ExportToStandardOutputIsExactlyTheGoldenCsv) {
    const CliProcess::Result result = Run({"export", GoldenFile(GetParam() + ".qlx")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, ReadFile(GoldenFile(GetParam() + ".r0.csv")));
}

TEST_P(GoldenRecording, ExportToAFileWritesTheSameAndNothingElse) {
    const std::string out = dir.File("out.csv");
    const CliProcess::Result result = Run({"export", GoldenFile(GetParam() + ".qlx"), "-o", out});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(ReadFile(out), ReadFile(GoldenFile(GetParam() + ".r0.csv")));
}

INSTANTIATE_TEST_SUITE_P(Files, GoldenRecording,
                         ::testing::Values("empty", "one-sample", "full-2040", "cp932-comments",
                                           "stamped"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::erase(name, '-');
                             return name;
                         });

struct FormatCase {
    std::vector<std::string> options;
    std::string golden;
};

class ExportFormat : public CliProgramTest, public ::testing::WithParamInterface<FormatCase> {};

// The recording says a count is 1 Hz; --resolution 0 (100 Hz) is overruled.
TEST_P(ExportFormat, WritesTheGoldenTextInTheRecordingsOwnUnit) {
    std::vector<std::string> args = {"export", GoldenFile("stamped.qlx"), "--resolution", "0"};
    args.insert(args.end(), GetParam().options.begin(), GetParam().options.end());
    const CliProcess::Result result = Run(args);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, ReadFile(GoldenFile(GetParam().golden)));
    EXPECT_NE(result.err.find(
                  "1 Hz とします (記録ファイルの注釈5 による)。--resolution 0 は使いません。"),
              std::string::npos)
        << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ExportFormat,
    ::testing::Values(FormatCase{{"--format", "tsv", "--comments"}, "stamped.tsv"},
                      FormatCase{{"--format", "freq"}, "stamped.freq"},
                      FormatCase{{"--format", "phase", "--nominal", "10000000"}, "stamped.phase"}));

TEST_F(CliProgramTest, ExportTakesTheResolutionGivenOrTheSettingsOne) {
    const std::string file = GoldenFile("cp932-comments.qlx");
    for (const std::string resolution : {"0", "1", "2"}) {
        const CliProcess::Result given = Run({"export", file, "--resolution", resolution});
        EXPECT_EQ(given.status, 0) << given.err;
        EXPECT_EQ(given.out, ReadFile(GoldenFile("cp932-comments.r" + resolution + ".csv")));
    }
    ASSERT_EQ(Run({"settings", "--set", "17=1"}).status, 0);
    const CliProcess::Result fromSettings = Run({"export", file});
    EXPECT_EQ(fromSettings.out, ReadFile(GoldenFile("cp932-comments.r1.csv")));
}

TEST_F(CliProgramTest, ExportRefusesAResolutionInTheSettingsWithoutAUnit) {
    // Slot 17 lies as the settings dialog can leave it, with no button chosen.
    std::string file = "Quolix V1.001\r\n0\r\n2\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n";
    file += "T1\r\nT2\r\ns\r\ns\r\ns\r\n0\r\n0\r\n-1\r\n";
    for (int i = 0; i < 12; ++i) {
        file += "0\r\n";
    }
    WriteFile(Settings(), file);
    const CliProcess::Result result = Run({"export", GoldenFile("one-sample.qlx")});
    EXPECT_EQ(result.status, 64);
    EXPECT_NE(result.err.find(Settings() + ": 分解能 (スロット 17) の値 -1"), std::string::npos)
        << result.err;
    EXPECT_EQ(result.out, "");
}

TEST_F(CliProgramTest, InfoShowsTheCommentsConvertedFromCp932) {
    const CliProcess::Result result = Run({"info", GoldenFile("cp932-comments.qlx")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("注釈1: 周波数の記録 テスト\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("注釈2: ｶﾀｶﾅ ①② ～\n"), std::string::npos);
    EXPECT_NE(result.out.find("注釈5: 五\n"), std::string::npos);
    EXPECT_NE(result.out.find("最初の読み値: 99998 (9,999.8 kHz)\n"), std::string::npos);
    EXPECT_NE(result.out.find("最大偏差: 100003 (10,000.3 kHz)\n"), std::string::npos);
}

// ---- damaged, foreign and truncated files, for every subcommand

struct Damage {
    const char* name;
    std::string bytes;
};

std::string OneSample() {
    return ReadFile(GoldenFile("one-sample.qlx"));
}

std::vector<Damage> Damages() {
    const std::string good = OneSample();
    std::string badCount = good.substr(0, 14) + std::string("\xb8\x0b\x00\x00", 4);  // 3000
    std::string negativeCount = good.substr(0, 14) + std::string("\xff\xff\xff\xff", 4);
    std::string cutInComments = ReadFile(GoldenFile("cp932-comments.qlx"));
    cutInComments.resize(cutInComments.size() - 3);
    return {
        {"Empty", ""},
        {"Foreign", "PK\x03\x04 this is some other program's file........"},
        {"OtherVersion", "\x0dQuolix V2.000" + good.substr(14)},
        {"CutInHeader", good.substr(0, 6)},
        {"CutInCount", good.substr(0, 16)},
        {"CutInSamples", good.substr(0, 22)},
        {"CutInComments", cutInComments},
        {"CountBeyondCapacity", badCount},
        {"NegativeCount", negativeCount},
    };
}

struct Use {
    const char* name;
    std::vector<std::string> args;  // FILE and OUT stand for the paths
};

std::vector<Use> Uses() {
    std::vector<Use> uses = {
        {"Info", {"info", "FILE"}},
        {"InfoJson", {"info", "--json", "FILE"}},
        {"Export", {"export", "FILE"}},
        {"ExportToFile", {"export", "FILE", "-o", "OUT"}},
        // Never overwrites what it cannot read as a recording; the port is
        // never reached.
        {"Record", {"record", "-o", "FILE", "--port", "/nonexistent/tty", "--overwrite"}},
    };
#ifdef QUOLIX_HAVE_RENDER
    uses.push_back({"RenderPng", {"render", "FILE", "-o", "OUT.png"}});
    uses.push_back({"RenderPdfPage", {"render", "FILE", "-o", "OUT.pdf", "--page"}});
#endif
    return uses;
}

class DamagedFile : public CliProgramTest,
                    public ::testing::WithParamInterface<std::tuple<Damage, Use>> {};

TEST_P(DamagedFile, IsNamedInAMessageAndEndsWithStatusOne) {
    const auto& [damage, use] = GetParam();
    const std::string file = dir.File("bad file.qlx");
    const std::string out = dir.File("out");
    WriteFile(file, damage.bytes);
    std::vector<std::string> args;
    for (std::string arg : use.args) {
        if (arg == "FILE") {
            arg = file;
        } else if (arg.rfind("OUT", 0) == 0) {
            arg = out + arg.substr(3);
        }
        args.push_back(arg);
    }
    const CliProcess::Result result = Run(args);
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_NE(result.err.find(file), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
    // Nothing was written: not the file itself, no output, no leftovers.
    EXPECT_EQ(ReadFile(file), damage.bytes);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"bad file.qlx"});
}

INSTANTIATE_TEST_SUITE_P(Everywhere, DamagedFile,
                         ::testing::Combine(::testing::ValuesIn(Damages()),
                                            ::testing::ValuesIn(Uses())),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

TEST_F(CliProgramTest, TheMessagesSayWhatIsWrongWithTheFile) {
    const std::string file = dir.File("a.qlx");
    WriteFile(file, "not a recording at all, just text");
    EXPECT_NE(Run({"info", file}).err.find(file + " は Quolix の記録ファイルではありません。"),
              std::string::npos);
    WriteFile(file, OneSample().substr(0, 20));
    EXPECT_NE(Run({"info", file}).err.find(file + " を読み込めませんでした。ファイルが途中で"),
              std::string::npos);
    const CliProcess::Result missing = Run({"info", dir.File("none.qlx")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find(dir.File("none.qlx") + " を開けませんでした。"), std::string::npos);
    const CliProcess::Result folder = Run({"export", dir.Path()});
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find(dir.Path() + " を開けませんでした。"), std::string::npos);
}

TEST_F(CliProgramTest, AnOutputThatCannotBeWrittenIsNamed) {
    const std::string out = dir.File("none/out.csv");
    const CliProcess::Result result = Run({"export", GoldenFile("empty.qlx"), "-o", out});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(out + ": 書き込めませんでした。"), std::string::npos) << result.err;
}

TEST_F(CliProgramTest, TheRecordingItselfIsNeverTheOutput) {
    const std::string file = dir.File("rec.qlx");
    WriteFile(file, OneSample());
    const std::string link = dir.File("link.png");
    std::filesystem::create_symlink(file, link);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"export", file, "-o", file},
          std::vector<std::string>{"export", file, "-o", link},
          std::vector<std::string>{"render", file, "-o", link}}) {
        const CliProcess::Result result = Run(args);
        EXPECT_EQ(result.status, 64) << args[0];
        EXPECT_NE(result.err.find("読み込む記録ファイルと同じファイル"), std::string::npos)
            << result.err;
    }
    EXPECT_EQ(ReadFile(file), OneSample());
}

TEST_F(CliProgramTest, RecordRefusesAnOutputItCouldNotSaveTo) {
    const std::string out = dir.File("none/rec.qlx");
    const CliProcess::Result result = Run({"record", "-o", out, "--port", "/nonexistent/tty"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(out + ": 保存できません。"), std::string::npos) << result.err;
    const CliProcess::Result folder = Run({"record", "-o", dir.Path()});
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find(dir.Path() + ": 通常のファイルではない"), std::string::npos);
}

TEST_F(CliProgramTest, RecordRefusesARawLogItCannotOpenBeforeThePort) {
    const std::string raw = dir.File("none/raw.csv");
    const CliProcess::Result result =
        Run({"record", "-o", dir.File("rec.qlx"), "--raw", raw, "--port", "/nonexistent/tty"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(raw + ": 開けません。"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("/nonexistent/tty"), std::string::npos) << result.err;
}

// ---- the counter's port

TEST_F(CliProgramTest, AMissingDeviceEndsWithStatusTwoNamingIt) {
    const std::string device = dir.File("no-such-tty");
    const std::string out = dir.File("rec.qlx");
    const CliProcess::Result given = Run({"record", "-o", out, "--port", device});
    EXPECT_EQ(given.status, 2);
    const std::string failed = "quolix-cli: " + device + ": カウンタとの通信に失敗しました。\n";
    EXPECT_EQ(given.err, failed + device + ": デバイスが接続されていません。\n");
    EXPECT_FALSE(std::filesystem::exists(out));
    // The port of slot 15 (COM1: by default) through its variable.
    const CliProcess::Result fromSettings =
        Run({"record", "-o", out, "--duration", "1"}, {{"QUOLIX_COM1", device}});
    EXPECT_EQ(fromSettings.status, 2);
    EXPECT_EQ(fromSettings.err, failed + "COM1 " + device + ": デバイスが接続されていません。\n");
}

// A new device's number that cannot be stored is listed all the same, and
// the status says it was not stored.
TEST_F(CliProgramTest, PortsSaysWhenABindingCannotBeStored) {
    FakeSerialTree tree;
    tree.AddAdapter("ttyUSB0", "usb-FTDI_FT232R_USB_UART_A1-if00-port0", "FTDI", "FT232R", "A1");
    WriteFile(dir.File("config"), "a file where the folder should be");
    const CliProcess::Result result = Run(
        {"ports"}, {{"QUOLIX_DEVICE_ROOT", tree.Root()}, {"XDG_CONFIG_HOME", dir.File("config")}});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out.rfind("COM1: FTDI FT232R (ttyUSB0)", 0), 0u) << result.out;
    EXPECT_NE(
        result.err.find(dir.File("config/quolix/ports") + ": ポートの割り当てを保存できません。"),
        std::string::npos)
        << result.err;
}

TEST_F(CliProgramTest, AFileThatIsNoTerminalIsNoPort) {
    const std::string device = dir.File("plain-file");
    WriteFile(device, "");
    const CliProcess::Result result = Run({"record", "-o", dir.File("rec.qlx"), "--port", device});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find(device + ": シリアルポートではありません。"), std::string::npos)
        << result.err;
    EXPECT_EQ(ReadFile(device), "");
}

// ---- settings

TEST_F(CliProgramTest, SettingsShowTheDefaultsWhenTheFileIsMissingAndSaySo) {
    const CliProcess::Result json = Run({"settings", "--json"});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out, "{\"path\": \"" + Settings() + "\", \"readFrom\": \"" + Settings() +
                            "\", \"loaded\": false, \"names\": {\"frame-color\": 0, "
                            "\"centre-color\": 1, \"grid-color\": 2, \"data-color\": 3, "
                            "\"frame-width\": 5, \"centre-width\": 6, \"grid-width\": 7, "
                            "\"data-width\": 8, \"title1\": 10, \"title2\": 11, \"port\": 15, "
                            "\"color-printer\": 16, \"resolution\": 17}, "
                            "\"slots\": [0, 0, 0, 0, 0, 2, 0, 0, 1, 0, "
                            "\"Quolix Frequency Counter\", \"( Frequency Data Logger )\", "
                            "\"default data\", \"default data\", \"default data\", 0, 0, 0, 0, "
                            "0, 44, 44, 700, 550, 0, 0, 0, 0, 0, 0]}\n");
    const CliProcess::Result text = Run({"settings"});
    EXPECT_NE(text.out.find("既定値を表示しています"), std::string::npos) << text.out;
    EXPECT_FALSE(std::filesystem::exists(Settings()));
}

TEST_F(CliProgramTest, SettingsSetSavesTheWholeRecordInCp932) {
    const CliProcess::Result set = Run({"settings", "--set", "10=周波数ロガー", "--set",
                                        "data-color=#ff0000", "--set", "resolution=1Hz"});
    ASSERT_EQ(set.status, 0) << set.err;
    // Saved over the defaults, which the store had to fall back to.
    EXPECT_NE(set.err.find(Settings() + ": 読み込めなかったため"), std::string::npos);
    const std::string file = ReadFile(Settings());
    EXPECT_NE(file.find("\r\n\x8e\xfc\x94\x67\x90\x94\x83\x8d\x83\x4b\x81\x5b\r\n"),
              std::string::npos);
    const CliProcess::Result json = Run({"settings", "--json"});
    EXPECT_NE(json.out.find("\"loaded\": true"), std::string::npos);
    EXPECT_NE(json.out.find("[0, 0, 0, 255, 0, 2, 0, 0, 1, 0, \"周波数ロガー\""), std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("0, 0, 2, 0, 0, 44"), std::string::npos) << json.out;
}

TEST_F(CliProgramTest, OneBadAssignmentSavesNoneOfThem) {
    ASSERT_EQ(Run({"settings", "--set", "3=255"}).status, 0);
    const std::string before = ReadFile(Settings());
    const CliProcess::Result result = Run({"settings", "--set", "5=7", "--set", "17=3"});
    EXPECT_EQ(result.status, 64);
    EXPECT_NE(result.err.find("スロット 17"), std::string::npos);
    EXPECT_EQ(ReadFile(Settings()), before);
}

TEST_F(CliProgramTest, ASettingsFileThatCannotBeWrittenIsNamed) {
    const std::string path = dir.File("none/quolix.ini");
    const CliProcess::Result result =
        CliProcess::Run(Cli, {"--settings", path, "settings", "--set", "3=1"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(
        result.err.find(path +
                        ": 設定を保存できませんでした。(ファイルまたはフォルダーが見つかりません)"),
        std::string::npos)
        << result.err;
}

// The desktop application's settings file beside the tool is the default.
TEST_F(CliProgramTest, TheSettingsFileOfQuolixBesideTheToolIsTheDefault) {
    const std::string copy = dir.File("quolix-cli");
    std::filesystem::copy_file(Cli, copy);
    ::chmod(copy.c_str(), 0755);
    ASSERT_EQ(Run({"settings", "--set", "11=beside"}).status, 0);
    const CliProcess::Result result = CliProcess::Run(copy, {"settings", "--json"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.rfind("{\"path\": \"" + dir.File("quolix.ini") + "\", \"readFrom\": \"" +
                                   dir.File("quolix.ini") + "\", \"loaded\": true",
                               0),
              0u)
        << result.out;
    EXPECT_NE(result.out.find("\"beside\""), std::string::npos);
    // "--settings" after the subcommand works as well as before it.
    const CliProcess::Result after =
        CliProcess::Run(copy, {"settings", "--json", "--settings", dir.File("other.ini")});
    EXPECT_NE(after.out.find("\"loaded\": false"), std::string::npos);
    // Without its helper beside it, render says what is missing.
    const CliProcess::Result render =
        CliProcess::Run(copy, {"render", GoldenFile("step.qlx"), "-o", dir.File("a.png")});
    EXPECT_EQ(render.status, 1);
    EXPECT_NE(
        render.err.find(dir.File("quolix-cli-render") + ": 描画用のプログラムが見つかりません。"),
        std::string::npos)
        << render.err;
}

// ---- help and mistakes

class Help : public CliProgramTest,
             public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(Help, GoesToStandardOutputWithStatusZero) {
    const CliProcess::Result result = Run(GetParam());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.rfind("使い方: quolix-cli", 0), 0u) << result.out;
    EXPECT_EQ(result.err, "");
}

INSTANTIATE_TEST_SUITE_P(Everywhere, Help,
                         ::testing::Values(std::vector<std::string>{"--help"},
                                           std::vector<std::string>{"-h"},
                                           std::vector<std::string>{"help"},
                                           std::vector<std::string>{"help", "render"},
                                           std::vector<std::string>{"record", "--help"},
                                           std::vector<std::string>{"info", "-h"},
                                           std::vector<std::string>{"export", "--help"},
                                           std::vector<std::string>{"render", "--help"},
                                           std::vector<std::string>{"settings", "--help"},
                                           // Help wins over anything wrong beside it.
                                           std::vector<std::string>{"info", "--bogus", "--help"}));

class Mistake : public CliProgramTest,
                public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(Mistake, IsReportedWithStatus64AndAPointerToTheHelp) {
    const CliProcess::Result result = CliProcess::Run(Cli, GetParam());
    EXPECT_EQ(result.status, 64);
    EXPECT_NE(result.err.find("--help で確かめてください。"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Everywhere, Mistake,
    ::testing::Values(
        std::vector<std::string>{}, std::vector<std::string>{"bogus"},
        std::vector<std::string>{"--frob", "info"}, std::vector<std::string>{"--settings"},
        std::vector<std::string>{"--settings=", "info", "a.qlx"},
        std::vector<std::string>{"help", "bogus"}, std::vector<std::string>{"info"},
        std::vector<std::string>{"info", "a.qlx", "b.qlx"},
        std::vector<std::string>{"info", "a.qlx", "--json=1"},
        std::vector<std::string>{"export", "a.qlx", "--resolution", "3"},
        std::vector<std::string>{"export", "a.qlx", "-o", ""},
        std::vector<std::string>{"export", "a.qlx", "--format", "xls"},
        std::vector<std::string>{"export", "a.qlx", "--nominal", "10000000"},
        std::vector<std::string>{"export", "a.qlx", "--format", "freq", "--nominal", "0"},
        std::vector<std::string>{"record", "-o", "a.qlx", "--raw", ""},
        std::vector<std::string>{"render", "a.qlx"},
        std::vector<std::string>{"render", "a.qlx", "-o", "a.gif"},
        std::vector<std::string>{"render", "a.qlx", "-o", "a.png", "--size", "10x10"},
        std::vector<std::string>{"render", "a.qlx", "-o", "a.png", "--page", "--size", "800x600"},
        std::vector<std::string>{"record"}, std::vector<std::string>{"record", "-o", "a", "x"},
        std::vector<std::string>{"record", "-o", "a.qlx", "--duration", "0"},
        std::vector<std::string>{"record", "-o", "a.qlx", "--duration", "1.5"},
        std::vector<std::string>{"record", "-o", "a.qlx", "--port", "COM9"},
        std::vector<std::string>{"record", "-o", "a.qlx", "--comment", "a", "--comment", "b",
                                 "--comment", "c", "--comment", "d"},
        std::vector<std::string>{"record", "-o", "a.qlx", "--comment", "😀"},
        std::vector<std::string>{"settings", "extra"},
        std::vector<std::string>{"settings", "--set", "17"}));

}  // namespace
}  // namespace quolix::cli
