#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "acquisition/CQuolixDoc.h"
#include "cli/ExportCommand.h"
#include "cli/InfoCommand.h"
#include "cli/RecordCommand.h"
#include "cli/RenderCommand.h"
#include "cli/SettingsCommand.h"
#include "cli/TerminalText.h"
#include "link/PortOpenError.h"
#include "link/SysfsPortRegistry.h"
#include "settings/SettingsRecord.h"

namespace quolix::cli {
namespace {

void Fill(CQuolixDoc& doc, const std::vector<std::pair<int32_t, int32_t>>& samples) {
    doc.count = 0;
    for (const auto& [time, reading] : samples) {
        doc.times[static_cast<size_t>(doc.count)] = time;
        doc.readings[static_cast<size_t>(doc.count)] = reading;
        ++doc.count;
    }
}

std::string Repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) {
        result += text;
    }
    return result;
}

// ---- info

TEST(InfoSummaryTest, LargestDeviationCountsBothDirectionsFromTheFirstReading) {
    CQuolixDoc doc;
    Fill(doc, {{3, 1000}, {4, 1007}, {5, 988}, {9, 1010}});
    const InfoSummary summary = Summarize(doc);
    EXPECT_EQ(summary.count, 4);
    EXPECT_EQ(summary.firstTime, 3);
    EXPECT_EQ(summary.lastTime, 9);
    EXPECT_EQ(summary.firstReading, 1000);
    EXPECT_EQ(summary.largestDeviation, 12);
    EXPECT_EQ(summary.interval, 1);
    EXPECT_FALSE(summary.full);
}

TEST(InfoSummaryTest, ADeviationBeyondThirtyTwoBitsIsNotCutShort) {
    CQuolixDoc doc;
    Fill(doc, {{0, -2'000'000'000}, {1, 2'000'000'000}});
    EXPECT_EQ(Summarize(doc).largestDeviation, 4'000'000'000);
    // And the text leaves out a kHz value it cannot form.
    const std::string text = FormatInfoText(doc, "x.qlx", 0);
    EXPECT_NE(text.find("最大偏差: 4000000000\n"), std::string::npos) << text;
}

TEST(InfoTextTest, ShowsEveryFigureWithKilohertzAtTheResolution) {
    CQuolixDoc doc;
    Fill(doc, {{0, 1234567}, {2040, 1234560}});
    doc.comments[0] = "\x8e\xfc\x94\x67\x90\x94";  // 周波数
    EXPECT_EQ(FormatInfoText(doc, "a.qlx", 1),
              "ファイル: a.qlx\n"
              "サンプル数: 2\n"
              "開始時刻: 不明\n"
              "最初の時刻: 0 秒\n"
              "最後の時刻: 2040 秒\n"
              "記録間隔: 2 秒\n"
              "満杯: いいえ\n"
              "最初の読み値: 1234567 (12,345.67 kHz)\n"
              "最大偏差: 7 (0.07 kHz)\n"
              "注釈1: 周波数\n"
              "注釈2:\n"
              "注釈3:\n"
              "注釈4:\n"
              "注釈5:\n");
}

TEST(InfoTextTest, SaysWhenNoIntervalFitsAnyMore) {
    CQuolixDoc doc;
    Fill(doc, {{0, 1}, {8'355'840, 1}});
    const std::string text = FormatInfoText(doc, "a.qlx", 0);
    EXPECT_NE(text.find("記録間隔: なし"), std::string::npos) << text;
}

struct TerminalCase {
    std::string text;
    std::string shown;
};

class TerminalSafeText : public ::testing::TestWithParam<TerminalCase> {};

TEST_P(TerminalSafeText, ShowsControlCharactersAsEscapes) {
    EXPECT_EQ(TerminalSafe(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TerminalSafeText,
    ::testing::Values(TerminalCase{"\x1b]0;owned\x07\x1b[2J", "\\x1b]0;owned\\x07\\x1b[2J"},
                      TerminalCase{"a\r\nb\tc", "a\\r\\nb\\tc"},
                      TerminalCase{std::string("x\0y", 3), "x\\x00y"},
                      TerminalCase{"\x7f\x1f ~", "\\x7f\\x1f ~"},
                      TerminalCase{"\xc2\x9b"
                                   "31m\xc2\x80",
                                   "\\u009b31m\\u0080"},
                      // Printable text and undecodable bytes stay as they are.
                      TerminalCase{"周波数 \xc2\xa0\\1000", "周波数 \xc2\xa0\\1000"},
                      TerminalCase{"\xef\xbf\xbd\xff\xc2", "\xef\xbf\xbd\xff\xc2"}));

TEST(InfoTextTest, CommentsAndTheFileNameReachTheTerminalOnlyAsVisibleText) {
    CQuolixDoc doc;
    Fill(doc, {{0, 1}});
    doc.comments[0] = std::string("a\0b\rc\x1b[31md\x7f", 12);
    doc.comments[4] = "\x1b]2;title\x07";
    const std::string text = FormatInfoText(doc, "x\x1b[1m.qlx", 0);
    EXPECT_NE(text.find("ファイル: x\\x1b[1m.qlx\n"), std::string::npos) << text;
    EXPECT_NE(text.find("注釈1: a\\x00b\\rc\\x1b[31md\\x7f\n"), std::string::npos) << text;
    EXPECT_NE(text.find("注釈5: \\x1b]2;title\\x07\n"), std::string::npos) << text;
    for (const char byte : text) {
        EXPECT_TRUE(byte == '\n' || (static_cast<unsigned char>(byte) >= 0x20 && byte != 0x7F))
            << "raw byte " << static_cast<int>(static_cast<unsigned char>(byte));
    }
    // JSON keeps the exact text, in its own escapes.
    const std::string json = FormatInfoJson(doc);
    EXPECT_NE(json.find(R"("a\u0000b\rc\u001b[31md)"), std::string::npos) << json;
}

// ---- export

struct HzCase {
    int32_t resolution;
    int32_t hz;
};

class ExportHzPerCount : public ::testing::TestWithParam<HzCase> {};

TEST_P(ExportHzPerCount, FollowsTheCountersResolution) {
    EXPECT_EQ(HzPerCount(GetParam().resolution), GetParam().hz);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, ExportHzPerCount,
                         ::testing::Values(HzCase{0, 100}, HzCase{1, 10}, HzCase{2, 1},
                                           HzCase{3, 0}, HzCase{-1, 0}));

TEST(ExportCsvTest, FrequenciesBeyondThirtyTwoBitsStayExact) {
    CQuolixDoc doc;
    Fill(doc, {{0, 99'999'999}, {1, -9'999'999}});
    EXPECT_EQ(FormatCsv(doc, 0),
              "time_s,reading,frequency_hz\n"
              "0,99999999,9999999900\n"
              "1,-9999999,-999999900\n");
}

// ---- settings

struct AssignmentCase {
    std::string assignment;
    int slot;
    int32_t intValue;
    std::string textValue;  // CP932
};

class SettingsApplyAccepts : public ::testing::TestWithParam<AssignmentCase> {};

TEST_P(SettingsApplyAccepts, ChangesExactlyThatSlot) {
    const AssignmentCase& c = GetParam();
    SettingsRecord record;
    record.ApplyDefaults();
    SettingsRecord expected = record;
    if (SettingsRecord::IsTextSlot(c.slot)) {
        expected.Text(c.slot) = c.textValue;
    } else {
        expected.Int(c.slot) = c.intValue;
    }
    const Status applied = ApplySetting(c.assignment, record);
    ASSERT_TRUE(applied.ok) << applied.message;
    EXPECT_EQ(record, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsApplyAccepts,
    ::testing::Values(
        AssignmentCase{"3=255", 3, 255, ""}, AssignmentCase{"0=16777215", 0, 16777215, ""},
        AssignmentCase{"8=100", 8, 100, ""}, AssignmentCase{"5=0", 5, 0, ""},
        AssignmentCase{"15=5", 15, 5, ""}, AssignmentCase{"16=1", 16, 1, ""},
        AssignmentCase{"17=2", 17, 2, ""},
        AssignmentCase{"20=-2147483648", 20, -2147483647 - 1, ""},
        AssignmentCase{"29=+7", 29, 7, ""},
        AssignmentCase{"10=周波数ロガー", 10, 0,
                       "\x8e\xfc\x94\x67\x90\x94\x83\x8d\x83\x4b\x81\x5b"},
        AssignmentCase{"11=a=b", 11, 0, "a=b"}, AssignmentCase{"12=", 12, 0, ""},
        // 40 double-byte characters fill the second title's 80 bytes.
        AssignmentCase{"11=" + Repeat("周", 40), 11, 0, Repeat("\x8e\xfc", 40)},
        // By name, with values in words where the number is not the user's.
        AssignmentCase{"title1=a", 10, 0, "a"},
        AssignmentCase{"frame-color=#ff8000", 0, 0x0080FF, ""},
        AssignmentCase{"data-color=#0000FF", 3, 0xFF0000, ""},
        AssignmentCase{"grid-color=255", 2, 255, ""}, AssignmentCase{"centre-width=3", 6, 3, ""},
        AssignmentCase{"port=COM2", 15, 1, ""}, AssignmentCase{"port=com6:", 15, 5, ""},
        AssignmentCase{"color-printer=yes", 16, 1, ""},
        AssignmentCase{"color-printer=no", 16, 0, ""}, AssignmentCase{"resolution=1Hz", 17, 2, ""},
        AssignmentCase{"resolution=100hz", 17, 0, ""}, AssignmentCase{"17=10Hz", 17, 1, ""},
        AssignmentCase{"0=#000001", 0, 0x010000, ""}));

struct RefusedAssignment {
    std::string assignment;
    std::string reasonPart;
};

class SettingsApplyRefuses : public ::testing::TestWithParam<RefusedAssignment> {};

TEST_P(SettingsApplyRefuses, LeavesTheRecordAlone) {
    SettingsRecord record;
    record.ApplyDefaults();
    const SettingsRecord before = record;
    const Status applied = ApplySetting(GetParam().assignment, record);
    EXPECT_FALSE(applied.ok);
    EXPECT_EQ(record, before);
    EXPECT_NE(applied.message.find(GetParam().reasonPart), std::string::npos) << applied.message;
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsApplyRefuses,
    ::testing::Values(
        RefusedAssignment{"3", "SLOT=VALUE"}, RefusedAssignment{"30=1", "30"},
        RefusedAssignment{"-1=1", "-1"}, RefusedAssignment{"x=1", "x"},
        RefusedAssignment{"0=16777216", "スロット 0"}, RefusedAssignment{"8=101", "0 から 100"},
        RefusedAssignment{"7=-1", "スロット 7"}, RefusedAssignment{"15=6", "スロット 15"},
        RefusedAssignment{"17=3", "スロット 17"}, RefusedAssignment{"16=2", "スロット 16"},
        RefusedAssignment{"20=2147483648", "スロット 20"}, RefusedAssignment{"20=1.5", "1.5"},
        RefusedAssignment{"20=", "スロット 20"},
        RefusedAssignment{"10=" + std::string(129, 'a'), "上限 128"},
        // 41 double-byte characters are 82 bytes of CP932.
        RefusedAssignment{"11=" + Repeat("周", 41), "上限 80"},
        RefusedAssignment{"12=" + std::string(257, 'a'), "上限 256"},
        RefusedAssignment{"10=a\tb", "制御文字"}, RefusedAssignment{"10=😀", "CP932"},
        RefusedAssignment{"10=\xff\xfe", "CP932"}, RefusedAssignment{"title3=a", "title1"},
        RefusedAssignment{"frame-color=#ff80", "#rrggbb"},
        RefusedAssignment{"frame-color=red", "#rrggbb"}, RefusedAssignment{"port=COM7", "COM1"},
        // "port=2" and "resolution=1" would be COM3 and 10Hz: refused by name.
        RefusedAssignment{"port=2", "COM1 から COM6"},
        RefusedAssignment{"resolution=1", "100Hz, 10Hz, 1Hz"},
        RefusedAssignment{"color-printer=maybe", "yes か no"}));

TEST(SettingsFormatTest, JsonHoldsIntegersAsNumbersAndTextsAsUtf8) {
    SettingsRecord record;
    record.ApplyDefaults();
    record.Text(10) = "\x8e\xfc\x94\x67\x90\x94 \"x\"";
    const std::string json = FormatSettingsJson({"/p/quolix.ini", "/q/quolix.ini", true}, record);
    EXPECT_EQ(json,
              "{\"path\": \"/p/quolix.ini\", \"readFrom\": \"/q/quolix.ini\", \"loaded\": true, "
              "\"names\": {\"frame-color\": 0, \"centre-color\": 1, \"grid-color\": 2, "
              "\"data-color\": 3, \"frame-width\": 5, \"centre-width\": 6, \"grid-width\": 7, "
              "\"data-width\": 8, \"title1\": 10, \"title2\": 11, \"port\": 15, "
              "\"color-printer\": 16, \"resolution\": 17}, \"slots\": [0, 0, 0, 0, 0, 2, 0, "
              "0, 1, 0, \"周波数 \\\"x\\\"\", \"( Frequency Data Logger )\", \"default data\", "
              "\"default data\", \"default data\", 0, 0, 0, 0, 0, 44, 44, 700, 550, 0, 0, 0, 0, "
              "0, 0]}\n");
}

TEST(SettingsFormatTest, TextSaysWhenTheDefaultsAreShown) {
    SettingsRecord record;
    record.ApplyDefaults();
    const std::string shown = FormatSettingsText({"/p/quolix.ini", "/p/quolix.ini", false}, record);
    EXPECT_EQ(shown.rfind("設定ファイル: /p/quolix.ini\n(設定ファイルを読み込めなかったため", 0),
              0u)
        << shown;
    EXPECT_EQ(FormatSettingsText({"/p", "/p", true}, record).find("既定値"), std::string::npos);
}

TEST(SettingsFormatTest, TextListsNameSlotAndValueInWords) {
    SettingsRecord record;
    record.ApplyDefaults();
    record.Int(SettingsRecord::DataColour) = 0x0080FF;
    record.Int(SettingsRecord::ComPort) = 1;
    record.Int(SettingsRecord::Resolution) = 2;
    record.Int(SettingsRecord::ColourPrinter) = 7;  // no word for it: the number
    const std::string shown =
        FormatSettingsText({"/u/quolix.ini", "/usr/bin/quolix.ini", true}, record);
    for (const std::string line : {
             "\ntitle1        10  \"Quolix Frequency Counter\"  グラフタイトル 1 行目\n",
             "\nframe-width    5  2  外枠の線の太さ\n",
             "\ndata-color     3  #ff8000 (33023)  データ線の色\n",
             "\nport          15  COM2 (1)  ",
             "\ncolor-printer 16  7  ",
             "\nresolution    17  1Hz (2)  ",
             "\n-             18  0  予備\n",
         }) {
        EXPECT_NE(shown.find(line), std::string::npos) << line << "\n" << shown;
    }
    // The per-user file that does not exist yet, and the file read meanwhile.
    EXPECT_EQ(
        shown.rfind(
            "設定ファイル: /u/quolix.ini\n(まだないため、/usr/bin/quolix.ini を読んでいます)\n", 0),
        0u)
        << shown;
}

// ---- record

struct PortCase {
    std::string given;
    int index;           // -1: a device
    std::string device;  // empty with index -1: refused
};

class RecordChoosePort : public ::testing::TestWithParam<PortCase> {};

TEST_P(RecordChoosePort, ComNamesAreNumbersStableNamesAreDevicesAndTheRestPaths) {
    const SysfsPortRegistry registry("/fake");
    PortChoice choice;
    const Status named = ChoosePort(GetParam().given, registry, choice);
    if (GetParam().index < 0 && GetParam().device.empty()) {
        EXPECT_FALSE(named.ok);
        EXPECT_FALSE(named.message.empty());
    } else {
        ASSERT_TRUE(named.ok) << named.message;
        EXPECT_EQ(choice.index, GetParam().index);
        EXPECT_EQ(choice.device, GetParam().device);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, RecordChoosePort,
    ::testing::Values(PortCase{"COM1", 0, ""}, PortCase{"com6:", 5, ""}, PortCase{"Com2", 1, ""},
                      PortCase{"/dev/ttyUSB0", -1, "/dev/ttyUSB0"},
                      PortCase{"./com1", -1, "./com1"},
                      PortCase{"ttyACM0", -1, "/fake/dev/ttyACM0"},
                      PortCase{"usb-FTDI_FT232R_USB_UART_A1-if00-port0", -1,
                               "/fake/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0"},
                      PortCase{"COM0", -1, ""}, PortCase{"COM7", -1, ""}, PortCase{"COM", -1, ""},
                      PortCase{"COM1x", -1, ""}, PortCase{"COM+1", -1, ""}, PortCase{"", -1, ""}));

// The number is resolved when the port opens, so its variable still wins, and
// the failure names the number and the device.
TEST(RecordChoosePortTest, AComPortFollowsItsEnvironmentVariable) {
    ::setenv("QUOLIX_COM3", "/nonexistent/sim-port", 1);
    CliCounterLink link(PortChoice{2, {}});
    EXPECT_EQ(link.OpenPort(0), 0);
    ::unsetenv("QUOLIX_COM3");
    EXPECT_EQ(link.DevicePath(), "/nonexistent/sim-port");
    EXPECT_EQ(PortOpenErrorText(link.LastOpenError()),
              "COM3 /nonexistent/sim-port: デバイスが接続されていません。");
}

struct CommentCase {
    std::string utf8;
    bool accepted;
    std::string cp932OrReason;
};

class RecordComment : public ::testing::TestWithParam<CommentCase> {};

TEST_P(RecordComment, TakesWhatTheCommentDialogTakes) {
    std::string cp932;
    const Status converted = ConvertComment(GetParam().utf8, 2, cp932);
    EXPECT_EQ(converted.ok, GetParam().accepted);
    if (converted.ok) {
        EXPECT_EQ(cp932, GetParam().cp932OrReason);
    } else {
        EXPECT_NE(converted.message.find(GetParam().cp932OrReason), std::string::npos)
            << converted.message;
        EXPECT_NE(converted.message.find("注釈2"), std::string::npos) << converted.message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RecordComment,
    ::testing::Values(CommentCase{"", true, ""}, CommentCase{"abc", true, "abc"},
                      CommentCase{"周波数", true, "\x8e\xfc\x94\x67\x90\x94"},
                      CommentCase{std::string(80, 'x'), true, std::string(80, 'x')},
                      CommentCase{std::string(81, 'x'), false, "上限 80"},
                      CommentCase{"😀", false, "CP932"}, CommentCase{"a\nb", false, "制御文字"}));

// ---- render

struct SizeCase {
    std::string text;
    bool accepted;
    int32_t width;
    int32_t height;
};

class RenderParseSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(RenderParseSize, TakesWidthByHeightWithinBounds) {
    int32_t width = 0;
    int32_t height = 0;
    EXPECT_EQ(ParseSize(GetParam().text, width, height), GetParam().accepted);
    if (GetParam().accepted) {
        EXPECT_EQ(width, GetParam().width);
        EXPECT_EQ(height, GetParam().height);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, RenderParseSize,
    ::testing::Values(SizeCase{"800x600", true, 800, 600}, SizeCase{"16X16", true, 16, 16},
                      SizeCase{"8192x8192", true, 8192, 8192}, SizeCase{"15x600", false, 0, 0},
                      SizeCase{"800x8193", false, 0, 0}, SizeCase{"800", false, 0, 0},
                      SizeCase{"x600", false, 0, 0}, SizeCase{"800x", false, 0, 0},
                      SizeCase{"+800x600", false, 0, 0}, SizeCase{"800x600x2", false, 0, 0},
                      SizeCase{" 800x600", false, 0, 0}));

TEST(RenderHelperArgumentsTest, PassTheParsedOptionsAndTheSettingsFile) {
    RenderOptions options;
    options.file = "-odd.qlx";
    options.output = "out.png";
    options.width = 400;
    options.height = 300;
    EXPECT_EQ(HelperArguments(options, "/s/quolix.ini"),
              (std::vector<std::string>{"--output", "out.png", "--size", "400x300", "--settings",
                                        "/s/quolix.ini", "--", "-odd.qlx"}));
    options.page = true;
    EXPECT_EQ(HelperArguments(options, ""),
              (std::vector<std::string>{"--output", "out.png", "--page", "--", "-odd.qlx"}));
}

}  // namespace
}  // namespace quolix::cli
