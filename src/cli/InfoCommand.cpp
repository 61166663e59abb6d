#include "cli/InfoCommand.h"

#include <limits>

#include "acquisition/CQuolixDoc.h"
#include "acquisition/RecordFile.h"
#include "acquisition/RecordingMetadata.h"
#include "base/Cp932.h"
#include "cli/CliContext.h"
#include "cli/CommandSupport.h"
#include "cli/ExitStatus.h"
#include "cli/JsonWriter.h"
#include "cli/RecordingInput.h"
#include "cli/RecordingUnit.h"
#include "cli/TerminalText.h"
#include "graph/FrequencyText.h"
#include "graph/SampleSeries.h"

namespace quolix::cli {

namespace {

constexpr std::string_view Command = "info";

std::size_t Index(int32_t i) {
    return static_cast<std::size_t>(i);
}

// The kHz text without the blanks that right-align it.
std::string Khz(int64_t counts, int32_t resolution) {
    if (counts < std::numeric_limits<int32_t>::min() ||
        counts > std::numeric_limits<int32_t>::max()) {
        return {};
    }
    const std::string& text = FormatFrequency(static_cast<int32_t>(counts), resolution);
    const std::size_t first = text.find_first_not_of(' ');
    return " (" + (first == std::string::npos ? text : text.substr(first)) + " kHz)";
}

}  // namespace

std::string InfoUsage() {
    return "使い方: quolix-cli info FILE.qlx [--json]\n"
           "\n"
           "記録ファイルの内容を表示します: サンプル数、開始時刻、最初と最後の時刻、記録を\n"
           "続けたときの記録間隔、最初の読み値、最大偏差、5 行の注釈。kHz 表示の単位は\n"
           "記録ファイルの注釈5 にあればそれを、なければ設定ファイルのスロット 17 を使い、\n"
           "どちらを使ったかを標準エラー出力に示します。\n"
           "\n"
           "  --json          1 個の JSON オブジェクトで出力します:\n"
           "                  {\"header\": ..., \"count\": N, \"interval\": I, \"full\": "
           "true|false,\n"
           "                   \"samples\": [[時刻, 読み値], ...], \"comments\": [5 個の文字列],\n"
           "                   \"start\": 開始時刻 (ISO 8601) | null, \"count_hz\": "
           "100|10|1|null}\n"
           "  --settings FILE 周波数の表示に使う設定ファイル (分解能)\n"
           "  -h, --help      この説明を表示します\n";
}

InfoSummary Summarize(CQuolixDoc& doc) {
    InfoSummary summary;
    // The interval first: it also settles a count that is out of range.
    summary.interval = doc.ChooseInterval();
    summary.full = doc.IsFull() == 1;
    summary.count = doc.count;
    if (doc.count <= 0) {
        return summary;
    }
    summary.firstTime = doc.times[0];
    summary.lastTime = doc.times[Index(doc.count - 1)];
    summary.firstReading = doc.readings[0];
    summary.largestDeviation = LargestDeviation(doc.Samples());
    return summary;
}

std::string FormatInfoJson(CQuolixDoc& doc) {
    const InfoSummary summary = Summarize(doc);
    JsonWriter json;
    json.BeginObject();
    json.Key("header");
    json.String(recordfile::Header);
    json.Key("count");
    json.Int(summary.count);
    json.Key("interval");
    json.Int(summary.interval);
    json.Key("full");
    json.Bool(summary.full);
    json.Key("samples");
    json.BeginArray();
    for (int32_t i = 0; i < summary.count; ++i) {
        json.BeginArray();
        json.Int(doc.times[Index(i)]);
        json.Int(doc.readings[Index(i)]);
        json.EndArray();
    }
    json.EndArray();
    json.Key("comments");
    json.BeginArray();
    for (const std::string& comment : doc.comments) {
        json.String(Cp932ToUtf8Lossy(comment));
    }
    json.EndArray();
    // Added after the first fields, so that readers of those keep working.
    const RecordingMetadata metadata = recordingmeta::Read(doc.comments);
    json.Key("start");
    if (metadata.startKnown) {
        json.String(recordingmeta::LocalText(metadata.start));
    } else {
        json.Null();
    }
    json.Key("count_hz");
    if (metadata.countHz != 0) {
        json.Int(metadata.countHz);
    } else {
        json.Null();
    }
    json.EndObject();
    return json.Text() + "\n";
}

std::string FormatInfoText(CQuolixDoc& doc, const std::string& path, int32_t resolution) {
    const InfoSummary summary = Summarize(doc);
    // A comment or a file name may hold control bytes; none reaches the terminal raw.
    std::string text = "ファイル: " + TerminalSafe(path) + "\n";
    text += "サンプル数: " + std::to_string(summary.count) + "\n";
    const RecordingMetadata metadata = recordingmeta::Read(doc.comments);
    text += "開始時刻: " +
            (metadata.startKnown ? recordingmeta::LocalText(metadata.start) : std::string("不明")) +
            "\n";
    if (summary.count > 0) {
        text += "最初の時刻: " + std::to_string(summary.firstTime) + " 秒\n";
        text += "最後の時刻: " + std::to_string(summary.lastTime) + " 秒\n";
    } else {
        text += "最初の時刻: なし\n最後の時刻: なし\n";
    }
    if (summary.interval > 0) {
        text += "記録間隔: " + std::to_string(summary.interval) + " 秒\n";
    } else {
        text += "記録間隔: なし (これ以上の間隔はありません)\n";
    }
    text += std::string("満杯: ") + (summary.full ? "はい" : "いいえ") + "\n";
    if (summary.count > 0) {
        text += "最初の読み値: " + std::to_string(summary.firstReading) +
                Khz(summary.firstReading, resolution) + "\n";
        text += "最大偏差: " + std::to_string(summary.largestDeviation) +
                Khz(summary.largestDeviation, resolution) + "\n";
    } else {
        text += "最初の読み値: なし\n最大偏差: なし\n";
    }
    for (std::size_t i = 0; i < doc.comments.size(); ++i) {
        text += "注釈" + std::to_string(i + 1) + ":";
        if (!doc.comments[i].empty()) {
            text += " " + TerminalSafe(Cp932ToUtf8Lossy(doc.comments[i]));
        }
        text += "\n";
    }
    return text;
}

int InfoMain(const std::vector<std::string>& args, CliContext& context) {
    ArgumentParser parser(WithCommonOptions({{"json", 0, false, false}}));
    if (const std::optional<int> status =
            ParseOrExit(parser, args, context, Command, InfoUsage(), Operands::OneRecording)) {
        return *status;
    }
    const std::string& path = parser.Positionals().front();
    CQuolixDoc doc;
    if (!LoadRecording(path, doc, context.reporter)) {
        return ExitFileError;
    }
    std::string text;
    if (parser.Has("json")) {
        text = FormatInfoJson(doc);
    } else {
        text = FormatInfoText(doc, path, ReadingResolution(doc, path, std::nullopt, context));
    }
    if (!Print(context, text)) {
        context.reporter.Say("標準出力", "書き込めませんでした。");
        return ExitFileError;
    }
    return ExitOk;
}

}  // namespace quolix::cli
