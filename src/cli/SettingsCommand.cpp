#include "cli/SettingsCommand.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "base/Cp932.h"
#include "base/IntegerText.h"
#include "cli/CliContext.h"
#include "cli/CommandSupport.h"
#include "cli/ExitStatus.h"
#include "cli/JsonWriter.h"
#include "cli/SettingWords.h"
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

// A slot number, or the slot of a name; nullopt for neither.
std::optional<int> SlotOf(std::string_view key, bool& byName) {
    if (const std::optional<int> named = SlotOfName(key)) {
        byName = true;
        return named;
    }
    byName = false;
    long long slot = 0;
    if (ParseInteger(key, 0, SettingsRecord::SlotCount - 1, slot)) {
        return static_cast<int>(slot);
    }
    return std::nullopt;
}

Status ApplyInt(int slot, bool byName, std::string_view value, const std::string& name,
                SettingsRecord& record) {
    if (const std::optional<int32_t> word = ParseSettingWord(slot, value)) {
        record.Int(slot) = *word;
        return Status{};
    }
    // By name, the port and the resolution take only their words: "port=2"
    // or "resolution=1" would read as COM2 or 1Hz to most, and mean neither.
    const bool numbersAllowed =
        !byName || (slot != SettingsRecord::ComPort && slot != SettingsRecord::Resolution);
    const Range range = RangeOf(slot);
    long long number = 0;
    if (numbersAllowed && ParseInteger(value, range.low, range.high, number)) {
        record.Int(slot) = static_cast<int32_t>(number);
        return Status{};
    }
    std::string expected;
    if (!SettingWordsOf(slot).empty()) {
        expected = std::string(SettingWordsOf(slot)) + (numbersAllowed ? " または " : "");
    }
    if (numbersAllowed) {
        expected += std::to_string(range.low) + " から " + std::to_string(range.high) + " の整数";
    }
    return Status::Failure(name + " には " + expected +
                           "を指定してください: " + std::string(value));
}

}  // namespace

std::string_view SlotLabel(int slot) {
    return SettingsRecord::IsValidSlot(slot) ? Labels[static_cast<std::size_t>(slot)]
                                             : std::string_view();
}

std::string SlotValueText(int slot, const SettingsRecord& record) {
    if (SettingsRecord::IsTextSlot(slot)) {
        return JsonWriter::Quote(Cp932ToUtf8Lossy(record.Text(slot)));
    }
    const std::string number = std::to_string(record.Int(slot));
    const std::string word = SettingWordFor(slot, record.Int(slot));
    return word.empty() ? number : word + " (" + number + ")";
}

std::string SettingsUsage() {
    return "使い方: quolix-cli settings [--json] [--set 名前=値|SLOT=VALUE]...\n"
           "\n"
           "設定ファイル (quolix と共通の quolix.ini) の 30 個のスロットを、名前・番号・値の\n"
           "順に表示します。読み込めないときは既定値を表示し、そのことを示します。\n"
           "\n"
           "  --json            1 個の JSON オブジェクトで出力します:\n"
           "                    {\"path\": ..., \"readFrom\": ..., \"loaded\": true|false,\n"
           "                     \"names\": {名前: スロット番号}, \"slots\": [30 個の値]}\n"
           "  --set 名前=値     設定を変更して設定ファイル全体を保存します (繰り返し可)。\n"
           "                    名前: title1, title2 (UTF-8 の文字列、CP932 で保存)、\n"
           "                    frame-color, centre-color, grid-color, data-color (#rrggbb\n"
           "                    または 0-16777215)、frame-width, centre-width, grid-width,\n"
           "                    data-width (0-100)、port=COM1..COM6、color-printer=yes|no、\n"
           "                    resolution=100Hz|10Hz|1Hz\n"
           "  --set SLOT=VALUE  スロット番号 (0-29) で指定することもできます。\n"
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
        return Status::Failure("--set は 名前=値 または SLOT=VALUE の形で指定してください: " +
                               std::string(assignment));
    }
    const std::string_view key = assignment.substr(0, equals);
    const std::string_view value = assignment.substr(equals + 1);
    bool byName = false;
    const std::optional<int> slot = SlotOf(key, byName);
    if (!slot) {
        return Status::Failure("スロット番号 (0 から 29) または名前 (" + SlotNameList() +
                               ") を指定してください: " + std::string(key));
    }
    const int index = *slot;
    std::string name =
        "スロット " + std::to_string(index) + " (" + std::string(SlotLabel(index)) + ")";
    if (byName) {
        name = std::string(key) + " (" + name + ")";
    }
    if (SettingsRecord::IsIntSlot(index)) {
        return ApplyInt(index, byName, value, name, record);
    }
    std::string cp932;
    if (Status converted = ToCp932Text(value, name, TextLimit(index), cp932); !converted.ok) {
        return converted;
    }
    record.Text(index) = std::move(cp932);
    return Status{};
}

std::string FormatSettingsJson(const SettingsShown& shown, const SettingsRecord& record) {
    JsonWriter json;
    json.BeginObject();
    json.Key("path");
    json.String(shown.path);
    json.Key("readFrom");
    json.String(shown.readFrom);
    json.Key("loaded");
    json.Bool(shown.loaded);
    json.Key("names");
    json.BeginObject();
    for (const NamedSlot& entry : NamedSlots()) {
        json.Key(entry.name);
        json.Int(entry.slot);
    }
    json.EndObject();
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

std::string FormatSettingsText(const SettingsShown& shown, const SettingsRecord& record) {
    std::string text =
        "設定ファイル: " + (shown.path.empty() ? std::string("(なし)") : shown.path) + "\n";
    if (shown.readFrom != shown.path && !shown.readFrom.empty()) {
        // The per-user file does not exist yet; the first save makes it.
        text += "(まだないため、" + shown.readFrom + " を読んでいます)\n";
    }
    if (!shown.loaded) {
        text += "(設定ファイルを読み込めなかったため、既定値を表示しています)\n";
    }
    for (int slot = 0; slot < SettingsRecord::SlotCount; ++slot) {
        std::string name(SlotName(slot).empty() ? "-" : SlotName(slot));
        name.resize(std::max<std::size_t>(name.size(), 13), ' ');
        text += name + (slot < 10 ? "  " : " ") + std::to_string(slot) + "  " +
                SlotValueText(slot, record) + "  " + std::string(SlotLabel(slot)) + "\n";
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
    SettingsShown shown{context.settings.file, context.settings.ReadPath(),
                        LoadSettings(context, record)};
    const std::vector<std::string> assignments = parser.Values("set");
    if (!assignments.empty()) {
        // All or nothing: one bad assignment saves none of them.
        for (const std::string& assignment : assignments) {
            if (const Status applied = ApplySetting(assignment, record); !applied.ok) {
                return UsageError(context.reporter, Command, applied.message);
            }
        }
        if (!shown.loaded && !shown.path.empty()) {
            context.reporter.Say(shown.path,
                                 "読み込めなかったため、既定値に変更を加えて保存します。");
        }
        SettingsStore store(context.settings);
        if (!store.SaveFrom(record)) {
            context.reporter.Say(shown.path,
                                 "設定を保存できませんでした。(" + store.SaveFailureReason() + ")");
            return ExitFileError;
        }
        // Shows what the file now holds, read back through the store.
        shown.readFrom = context.settings.ReadPath();
        shown.loaded = LoadSettings(context, record);
    }
    const std::string text =
        parser.Has("json") ? FormatSettingsJson(shown, record) : FormatSettingsText(shown, record);
    if (!Print(context, text)) {
        context.reporter.Say("標準出力", "書き込めませんでした。");
        return ExitFileError;
    }
    return ExitOk;
}

}  // namespace quolix::cli
