#include "cli/SettingsCommand.h"

#include <array>
#include <limits>
#include <optional>

#include "base/Cp932.h"
#include "base/IntegerText.h"
#include "cli/CliContext.h"
#include "cli/CommandSupport.h"
#include "cli/ExitStatus.h"
#include "cli/JsonWriter.h"
#include "link/PortNames.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsStore.h"

namespace quolix::cli {

namespace {

constexpr std::string_view Command = "settings";

constexpr std::array<std::string_view, SettingsRecord::SlotCount> Labels = {
    "外枠の色",
    "中央線の色",
    "罫線の色",
    "データ線の色",
    "予備の色",
    "外枠の線の太さ",
    "中央線の線の太さ",
    "罫線の線の太さ",
    "データ線の線の太さ",
    "予備の線の太さ",
    "グラフタイトル 1 行目",
    "グラフタイトル 2 行目",
    "予備の文字列 1",
    "予備の文字列 2",
    "予備の文字列 3",
    "通信ポート (0 = COM1: ... 5 = COM6:)",
    "カラープリンタ (1 = 使う)",
    "最小分解能 (0 = 100Hz, 1 = 10Hz, 2 = 1Hz)",
    "予備",
    "予備",
    "ウィンドウの左端",
    "ウィンドウの上端",
    "ウィンドウの右端",
    "ウィンドウの下端",
    "ウィンドウの表示状態",
    "予備",
    "予備",
    "予備",
    "予備",
    "予備",
};

struct Range {
    long long low;
    long long high;
};

// What the settings dialog lets through for the slots it edits; the others
// take any 32-bit value, as the file does.
Range RangeOf(int slot) {
    constexpr long long Min = std::numeric_limits<int32_t>::min();
    constexpr long long Max = std::numeric_limits<int32_t>::max();
    switch (slot) {
        case SettingsRecord::FrameColour:
        case SettingsRecord::CentreColour:
        case SettingsRecord::GridColour:
        case SettingsRecord::DataColour:
        case SettingsRecord::SpareColour:
            return {0, 0xFFFFFF};
        case SettingsRecord::FrameWidth:
        case SettingsRecord::CentreWidth:
        case SettingsRecord::GridWidth:
        case SettingsRecord::DataWidth:
            return {0, 100};
        case SettingsRecord::ComPort:
            return {0, PortCount - 1};
        case SettingsRecord::ColourPrinter:
            return {0, 1};
        case SettingsRecord::Resolution:
            return {0, 2};
        default:
            return {Min, Max};
    }
}

// Bytes of CP932 a text slot takes: the title edits' limits, and for the
// spare strings what one line of the settings file holds.
std::size_t TextLimit(int slot) {
    switch (slot) {
        case SettingsRecord::Title1:
            return 128;
        case SettingsRecord::Title2:
            return 80;
        default:
            return 256;
    }
}

}  // namespace

std::string_view SlotLabel(int slot) {
    return SettingsRecord::IsValidSlot(slot) ? Labels[static_cast<std::size_t>(slot)]
                                             : std::string_view();
}

std::string SettingsUsage() {
    return "使い方: quolix-cli settings [--json] [--set SLOT=VALUE]...\n"
           "\n"
           "設定ファイル (quolix と共通の quolix.ini) の 30 個のスロットを表示します。\n"
           "読み込めないときは既定値を表示し、そのことを示します。\n"
           "\n"
           "  --json            1 個の JSON オブジェクトで出力します:\n"
           "                    {\"path\": ..., \"loaded\": true|false, \"slots\": [30 個の値]}\n"
           "  --set SLOT=VALUE  スロットを変更して設定ファイル全体を保存します (繰り返し可)。\n"
           "                    文字列のスロット (10-14) は UTF-8 で与え、CP932 で保存します。\n"
           "                    上限: タイトル 1 行目 128 バイト、2 行目 80 バイト、ほか 256 "
           "バイト\n"
           "                    (CP932 で数えます)。整数のスロットの範囲: 色 0-16777215、\n"
           "                    線の太さ (5-8) 0-100、通信ポート 0-5、カラープリンタ 0-1、\n"
           "                    分解能 0-2、ほかは 32 ビット整数\n"
           "  --settings FILE   設定ファイル\n"
           "  -h, --help        この説明を表示します\n";
}

Status ApplySetting(std::string_view assignment, SettingsRecord& record) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string_view::npos) {
        return Status::Failure("--set は SLOT=VALUE の形で指定してください: " +
                               std::string(assignment));
    }
    const std::string_view slotText = assignment.substr(0, equals);
    const std::string_view value = assignment.substr(equals + 1);
    long long slot = 0;
    if (!ParseInteger(slotText, 0, SettingsRecord::SlotCount - 1, slot)) {
        return Status::Failure("スロット番号は 0 から 29 です: " + std::string(slotText));
    }
    const int index = static_cast<int>(slot);
    const std::string name =
        "スロット " + std::to_string(index) + " (" + std::string(SlotLabel(index)) + ")";
    if (SettingsRecord::IsIntSlot(index)) {
        const Range range = RangeOf(index);
        long long number = 0;
        if (!ParseInteger(value, range.low, range.high, number)) {
            return Status::Failure(name + " には " + std::to_string(range.low) + " から " +
                                   std::to_string(range.high) +
                                   " の整数を指定してください: " + std::string(value));
        }
        record.Int(index) = static_cast<int32_t>(number);
        return Status{};
    }
    std::string cp932;
    if (Status converted = ToCp932Text(value, name, TextLimit(index), cp932); !converted.ok) {
        return converted;
    }
    record.Text(index) = std::move(cp932);
    return Status{};
}

std::string FormatSettingsJson(const std::string& path, bool loaded, const SettingsRecord& record) {
    JsonWriter json;
    json.BeginObject();
    json.Key("path");
    json.String(path);
    json.Key("loaded");
    json.Bool(loaded);
    json.Key("slots");
    json.BeginArray();
    for (int slot = 0; slot < SettingsRecord::SlotCount; ++slot) {
        if (SettingsRecord::IsTextSlot(slot)) {
            json.String(Cp932ToUtf8Lossy(record.Text(slot)));
        } else {
            json.Int(record.Int(slot));
        }
    }
    json.EndArray();
    json.EndObject();
    return json.Text() + "\n";
}

std::string FormatSettingsText(const std::string& path, bool loaded, const SettingsRecord& record) {
    std::string text = "設定ファイル: " + (path.empty() ? std::string("(なし)") : path) + "\n";
    if (!loaded) {
        text += "(設定ファイルを読み込めなかったため、既定値を表示しています)\n";
    }
    for (int slot = 0; slot < SettingsRecord::SlotCount; ++slot) {
        text += (slot < 10 ? " " : "") + std::to_string(slot) + " " + std::string(SlotLabel(slot)) +
                ": ";
        if (SettingsRecord::IsTextSlot(slot)) {
            text += JsonWriter::Quote(Cp932ToUtf8Lossy(record.Text(slot)));
        } else {
            text += std::to_string(record.Int(slot));
        }
        text += '\n';
    }
    return text;
}

int SettingsMain(const std::vector<std::string>& args, CliContext& context) {
    ArgumentParser parser(WithCommonOptions({{"json", 0, false, false}, {"set", 0, true, true}}));
    if (const std::optional<int> status =
            ParseOrExit(parser, args, context, Command, SettingsUsage(), Operands::None)) {
        return *status;
    }

    SettingsRecord record;
    bool loaded = LoadSettings(context, record);
    const std::vector<std::string> assignments = parser.Values("set");
    if (!assignments.empty()) {
        // All or nothing: one bad assignment saves none of them.
        for (const std::string& assignment : assignments) {
            if (const Status applied = ApplySetting(assignment, record); !applied.ok) {
                return UsageError(context.reporter, Command, applied.message);
            }
        }
        if (context.settingsPath.empty()) {
            context.reporter.Say({}, "設定ファイルの場所が分からないため保存できません。");
            return ExitFileError;
        }
        if (!loaded) {
            context.reporter.Say(context.settingsPath,
                                 "読み込めなかったため、既定値に変更を加えて保存します。");
        }
        SettingsStore store(context.settingsPath);
        if (!store.SaveFrom(record)) {
            context.reporter.Say(context.settingsPath, "設定を保存できませんでした。");
            return ExitFileError;
        }
        // Shows what the file now holds, read back through the store.
        loaded = LoadSettings(context, record);
    }
    const std::string text = parser.Has("json")
                                 ? FormatSettingsJson(context.settingsPath, loaded, record)
                                 : FormatSettingsText(context.settingsPath, loaded, record);
    if (!Print(context, text)) {
        context.reporter.Say("標準出力", "書き込めませんでした。");
        return ExitFileError;
    }
    return ExitOk;
}

}  // namespace quolix::cli
