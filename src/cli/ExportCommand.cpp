#include "cli/ExportCommand.h"

#include "acquisition/CQuolixDoc.h"
#include "base/IntegerText.h"
#include "base/ReplacementFile.h"
#include "cli/CliContext.h"
#include "cli/CommandSupport.h"
#include "cli/ExitStatus.h"
#include "cli/RecordingInput.h"
#include "settings/SettingsRecord.h"

namespace quolix::cli {

namespace {

constexpr std::string_view Command = "export";

}  // namespace

std::string ExportUsage() {
    return "使い方: quolix-cli export FILE.qlx [-o OUT.csv] [--resolution 0|1|2]\n"
           "\n"
           "記録ファイルのサンプルを CSV に書き出します。1 行目は time_s,reading,frequency_hz、\n"
           "続いてサンプルごとに 1 行: 時刻 (秒)、読み値、周波数 (Hz 単位の整数)。\n"
           "\n"
           "  -o, --output OUT.csv  書き出し先 (省略時は標準出力)。書き終えてから置き換えます\n"
           "  --resolution 0|1|2    読み値 1 カウントの大きさ: 0 = 100 Hz, 1 = 10 Hz, 2 = 1 Hz\n"
           "                        (省略時は設定ファイルのスロット 17)\n"
           "  --settings FILE       設定ファイル\n"
           "  -h, --help            この説明を表示します\n";
}

int32_t HzPerCount(int32_t resolution) {
    switch (resolution) {
        case 0:
            return 100;
        case 1:
            return 10;
        case 2:
            return 1;
        default:
            return 0;
    }
}

std::string FormatCsv(const CQuolixDoc& doc, int32_t resolution) {
    const int64_t factor = HzPerCount(resolution);
    std::string csv(CsvHeader);
    csv += '\n';
    const int32_t count = doc.count < 0 ? 0 : doc.count;
    for (int32_t i = 0; i < count && i < CQuolixDoc::SampleCapacity; ++i) {
        const auto at = static_cast<std::size_t>(i);
        csv += std::to_string(doc.times[at]);
        csv += ',';
        csv += std::to_string(doc.readings[at]);
        csv += ',';
        csv += std::to_string(int64_t{doc.readings[at]} * factor);
        csv += '\n';
    }
    return csv;
}

int ExportMain(const std::vector<std::string>& args, CliContext& context) {
    ArgumentParser parser(
        WithCommonOptions({{"output", 'o', true, false}, {"resolution", 0, true, false}}));
    if (const std::optional<int> status =
            ParseOrExit(parser, args, context, Command, ExportUsage(), Operands::OneRecording)) {
        return *status;
    }
    int32_t resolution = 0;
    if (std::optional<std::string> given = parser.Value("resolution")) {
        long long value = 0;
        if (!ParseInteger(*given, 0, 2, value)) {
            return UsageError(context.reporter, Command,
                              "--resolution には 0, 1, 2 のいずれかを指定してください: " + *given);
        }
        resolution = static_cast<int32_t>(value);
    }
    const std::optional<std::string> output = parser.Value("output");
    if (output && output->empty()) {
        return UsageError(context.reporter, Command,
                          "-o には書き出し先のファイル名を指定してください。");
    }

    const std::string& path = parser.Positionals().front();
    if (output && SameFile(path, *output)) {
        return UsageError(context.reporter, Command,
                          *output + ": 読み込む記録ファイルと同じファイルには書き出せません。");
    }
    CQuolixDoc doc;
    if (!LoadRecording(path, doc, context.reporter)) {
        return ExitFileError;
    }
    if (!parser.Has("resolution")) {
        SettingsRecord settings;
        LoadSettings(context, settings);
        resolution = settings.Int(SettingsRecord::Resolution);
        if (HzPerCount(resolution) == 0) {
            const std::string settingsPath = context.settings.ReadPath().empty()
                                                 ? std::string("設定")
                                                 : context.settings.ReadPath();
            context.reporter.Say(settingsPath, "分解能 (スロット 17) の値 " +
                                                   std::to_string(resolution) +
                                                   " は 0, 1, 2 のいずれでもありません。"
                                                   "--resolution で指定してください。");
            return ExitUsage;
        }
    }

    const std::string csv = FormatCsv(doc, resolution);
    if (!output || *output == "-") {
        if (!Print(context, csv)) {
            context.reporter.Say("標準出力", "書き込めませんでした。");
            return ExitFileError;
        }
        return ExitOk;
    }
    if (const Status written = ReplacementFile::WriteWhole(*output, csv); !written.ok) {
        context.reporter.Say(*output, "書き込めませんでした。(" + written.message + ")");
        return ExitFileError;
    }
    return ExitOk;
}

}  // namespace quolix::cli
