#include "cli/ExportCommand.h"

#include "acquisition/CQuolixDoc.h"
#include "acquisition/RecordingMetadata.h"
#include "base/IntegerText.h"
#include "base/ReplacementFile.h"
#include "cli/CliContext.h"
#include "cli/CommandSupport.h"
#include "cli/ExitStatus.h"
#include "cli/ExportFormat.h"
#include "cli/RecordingInput.h"
#include "cli/RecordingUnit.h"

namespace quolix::cli {

namespace {

constexpr std::string_view Command = "export";
// A trillion hertz is beyond any counter's input.
constexpr long long MaxNominalHz = 1'000'000'000'000;

}  // namespace

std::string ExportUsage() {
    return "使い方: quolix-cli export FILE.qlx [-o OUT] [--format csv|tsv|phase|freq]\n"
           "                         [--nominal HZ] [--comments] [--resolution 0|1|2]\n"
           "\n"
           "記録ファイルのサンプルを書き出します。\n"
           "  csv (既定)  1 行目は time_s,reading,frequency_hz、続いてサンプルごとに 1 行:\n"
           "              時刻 (秒)、読み値、周波数 (Hz 単位の整数)。記録ファイルに開始時刻が\n"
           "              あれば、4 列目 utc に各サンプルの UTC 時刻 (ISO 8601) を加えます\n"
           "  tsv         csv と同じ内容をタブ区切りで\n"
           "  freq        安定度解析用の 2 列: 時刻 (秒) と相対周波数 (f - f0) / f0\n"
           "  phase       安定度解析用の 2 列: 時刻 (秒) と位相 (秒)\n"
           "              f0 は最初の読み値の周波数、または --nominal の周波数です。\n"
           "              小数点以下 15 桁で、整数演算で丸めます\n"
           "\n"
           "読み値 1 カウントの大きさは、記録ファイルの注釈5 にあればそれを使い、なければ\n"
           "--resolution、それもなければ設定ファイルのスロット 17 を使います。どれを使ったかは\n"
           "標準エラー出力に示します。\n"
           "\n"
           "  -o, --output OUT      書き出し先 (省略時は標準出力)。書き終えてから置き換えます\n"
           "  --format FORMAT       csv, tsv, phase, freq のいずれか (省略時は csv)\n"
           "  --nominal HZ          phase と freq の基準周波数 (Hz 単位の正の整数)\n"
           "  --comments            5 行の注釈を先頭に # 行として書きます\n"
           "  --resolution 0|1|2    読み値 1 カウントの大きさ: 0 = 100 Hz, 1 = 10 Hz, 2 = 1 Hz\n"
           "  --settings FILE       設定ファイル\n"
           "  -h, --help            この説明を表示します\n";
}

int32_t HzPerCount(int32_t resolution) {
    return recordingmeta::HzPerCount(resolution);
}

std::string FormatCsv(const CQuolixDoc& doc, int32_t resolution) {
    std::string csv;
    FormatExport(doc, {ExportKind::Csv, HzPerCount(resolution), std::nullopt, false}, csv);
    return csv;
}

int ExportMain(const std::vector<std::string>& args, CliContext& context) {
    ArgumentParser parser(WithCommonOptions({{"output", 'o', true, false},
                                             {"resolution", 0, true, false},
                                             {"format", 0, true, false},
                                             {"nominal", 0, true, false},
                                             {"comments", 0, false, false}}));
    if (const std::optional<int> status =
            ParseOrExit(parser, args, context, Command, ExportUsage(), Operands::OneRecording)) {
        return *status;
    }
    std::optional<int32_t> given;
    if (std::optional<std::string> text = parser.Value("resolution")) {
        long long value = 0;
        if (!ParseInteger(*text, 0, 2, value)) {
            return UsageError(context.reporter, Command,
                              "--resolution には 0, 1, 2 のいずれかを指定してください: " + *text);
        }
        given = static_cast<int32_t>(value);
    }
    ExportRequest request;
    request.comments = parser.Has("comments");
    if (std::optional<std::string> format = parser.Value("format")) {
        const std::optional<ExportKind> kind = ExportKindNamed(*format);
        if (!kind) {
            return UsageError(
                context.reporter, Command,
                "--format には csv, tsv, phase, freq のいずれかを指定してください: " + *format);
        }
        request.kind = *kind;
    }
    if (std::optional<std::string> nominal = parser.Value("nominal")) {
        long long hz = 0;
        if (request.kind != ExportKind::Phase && request.kind != ExportKind::Freq) {
            return UsageError(context.reporter, Command,
                              "--nominal は --format phase または freq のときに指定します。");
        }
        if (!ParseInteger(*nominal, 1, MaxNominalHz, hz)) {
            return UsageError(context.reporter, Command,
                              "--nominal には 1 以上の整数 (Hz) を指定してください: " + *nominal);
        }
        request.nominalHz = hz;
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
    const int32_t resolution = ReadingResolution(doc, path, given, context);
    request.countHz = HzPerCount(resolution);
    if (request.countHz == 0) {
        const std::string settingsPath =
            context.settings.ReadPath().empty() ? std::string("設定") : context.settings.ReadPath();
        context.reporter.Say(settingsPath, "分解能 (スロット 17) の値 " +
                                               std::to_string(resolution) +
                                               " は 0, 1, 2 のいずれでもありません。"
                                               "--resolution で指定してください。");
        return ExitUsage;
    }

    std::string text;
    if (const Status formatted = FormatExport(doc, request, text); !formatted.ok) {
        context.reporter.Say(path, formatted.message);
        return ExitUsage;
    }
    if (!output || *output == "-") {
        if (!Print(context, text)) {
            context.reporter.Say("標準出力", "書き込めませんでした。");
            return ExitFileError;
        }
        return ExitOk;
    }
    if (const Status written = ReplacementFile::WriteWhole(*output, text); !written.ok) {
        context.reporter.Say(*output, "書き込めませんでした。(" + written.message + ")");
        return ExitFileError;
    }
    return ExitOk;
}

}  // namespace quolix::cli
