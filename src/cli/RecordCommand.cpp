#include "cli/RecordCommand.h"

#include <cctype>
#include <cerrno>
#include <limits>

#include "QuolixVersion.h"
#include "base/FileSystem.h"
#include "base/IntegerText.h"
#include "base/ReplacementFile.h"
#include "base/SystemErrorText.h"
#include "cli/CliContext.h"
#include "cli/CliCounterLink.h"
#include "cli/CommandSupport.h"
#include "cli/ExitStatus.h"
#include "cli/HeadlessRecorder.h"
#include "cli/OutputLock.h"
#include "cli/RawLog.h"
#include "cli/StopSignal.h"
#include "framework/Archive.h"
#include "framework/DocumentFile.h"
#include "link/PortBindings.h"
#include "link/PortNames.h"
#include "link/SystemPortRegistry.h"

namespace quolix::cli {

namespace {

constexpr std::string_view Command = "record";

bool StartsWithCom(std::string_view text) {
    return text.size() >= 3 && std::toupper(static_cast<unsigned char>(text[0])) == 'C' &&
           std::toupper(static_cast<unsigned char>(text[1])) == 'O' &&
           std::toupper(static_cast<unsigned char>(text[2])) == 'M';
}

// The most a save writes: a full store and five long comments.
std::size_t LargestRecordBytes() {
    CQuolixDoc full;
    full.count = CQuolixDoc::SampleCapacity;
    full.comments.fill(std::string(256, 'x'));
    Archive archive = Archive::ForStoring();
    full.Serialize(archive);
    return archive.Bytes().size();
}

// The output must be a place a recording can go: a new file in a writable
// folder, or (with --overwrite) a recording that may be replaced. Anything
// else that is there already is not ours to overwrite.
bool CheckOutput(const std::string& path, bool overwrite, Reporter& reporter) {
    platform::FileInfo info;
    if (platform::InspectPath(path, info)) {
        if (info.kind != platform::FileKind::Regular) {
            reporter.Say(path, "通常のファイルではないため、記録の保存先にできません。");
            return false;
        }
        if (!overwrite) {
            reporter.Say(
                path,
                "既にあるため上書きしません。上書きするには --overwrite を指定してください。");
            return false;
        }
        CQuolixDoc existing;
        const Status result = docfile::Open(existing, path);
        if (!result.ok) {
            reporter.Say({}, result.message);
            reporter.Say(path, "記録ファイルとして読めないため、上書きしません。");
            return false;
        }
    }
    // What a save killed part-way left in the folder goes before the first
    // save of this run.
    ReplacementFile::SweepStale(ReplacementFile::FolderOf(path));
    // A temporary file as large as the largest save, flushed, shows that
    // saving can work at all (an empty one is made even on a full disk),
    // before the counter is touched. It is never committed.
    ReplacementFile probe(path);
    const std::string room(LargestRecordBytes(), '\0');
    if (!probe.Ok() || !probe.Write(room) || !probe.Sync()) {
        reporter.Say(path, "保存できません。(" + SystemErrorText(probe.Error()) + ")");
        return false;
    }
    return true;
}

}  // namespace

std::string RecordUsage() {
    return "使い方: quolix-cli record -o FILE.qlx [--port COMn|DEVICE] [--duration SECONDS]\n"
           "                         [--comment TEXT]... [--overwrite] [--raw FILE.csv]\n"
           "\n"
           "カウンタを 250 ms ごとに読み、カウンタが応答したらすぐに記録を始めます。\n"
           "サンプルを保存するたびに、経過秒数・読み値・kHz 表示を 1 行ずつ出力し、\n"
           "記録ファイル全体を書き直します (横に書いてから置き換えるので、途中で強制終了\n"
           "しても失うのは書きかけのサンプルだけです)。指定の時間が過ぎたとき、または\n"
           "SIGINT (Ctrl+C)・SIGTERM・SIGHUP を受けたときに、もう一度保存して終了します。\n"
           "記録の開始時刻と読み値 1 カウントの大きさは注釈4・注釈5 に記録します。\n"
           "記録間隔が変わると (2040 サンプルごと)、標準エラー出力に知らせます。\n"
           "\n"
           "  -o, --output FILE.qlx  記録ファイル。記録中はほかの記録に使わせません\n"
           "  --overwrite            既存の記録ファイルを上書きします (記録ファイルで\n"
           "                         ないファイルは上書きしません)\n"
           "  --port COMn|DEVICE     カウンタのポート: COM1 から COM6 (割り当ては\n"
           "                         quolix-cli ports で確かめます)、デバイスのパス、または\n"
           "                         /dev/serial/by-id の名前。省略時は設定ファイルの\n"
           "                         スロット 15\n"
           "  --duration SECONDS     実行時間 (秒)。カウンタの応答を待つ時間も含みます。\n"
           "                         省略時は止めるまで記録します\n"
           "  --comment TEXT         注釈 (3 個まで、順に注釈1-3)。CP932 で 80 バイトまで\n"
           "  --raw FILE.csv         記録中のカウンタの応答をすべて (250 ms ごと) この CSV に\n"
           "                         書き足します: monotonic_s,utc,reading,frequency_hz。\n"
           "                         1 秒ごとに書き出します。このファイルは大きくなり続けます\n"
           "                         (1 日に約 17 MB)\n"
           "  --settings FILE        設定ファイル\n"
           "  -h, --help             この説明を表示します\n"
           "\n"
           "カウンタが 2 秒応答しないとき、接続が切れたとき (毎秒つなぎ直します)、\n"
           "再び応答したときに、時刻とともに標準エラー出力に 1 行出します。\n"
           "\n"
           "終了コード: 0 記録を終えた, 1 ファイルに保存できない,\n"
           "            2 ポートを開けない、記録ファイルをほかの記録が使用中、\n"
           "            またはサンプルを 1 つも記録できなかった (既存のファイルはそのまま)\n";
}

Status ChoosePort(std::string_view port, const PortRegistry& registry, PortChoice& choice) {
    if (port.empty()) {
        return Status::Failure(
            "--port にはポート名 (COM1-COM6) かデバイスのパスを指定してください。");
    }
    if (port.find('/') == std::string_view::npos && StartsWithCom(port)) {
        std::string_view number = port.substr(3);
        if (!number.empty() && number.back() == ':') {
            number.remove_suffix(1);
        }
        long long index = 0;
        if (!number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos &&
            ParseInteger(number, 1, PortCount, index)) {
            choice = PortChoice{static_cast<int>(index - 1), {}};
            return Status{};
        }
        return Status::Failure("ポート名は COM1 から COM6 です: " + std::string(port));
    }
    if (port.find('/') == std::string_view::npos && PortBindings::ValidName(port)) {
        choice = PortChoice{-1, registry.PathOf(std::string(port))};
        return Status{};
    }
    choice = PortChoice{-1, std::string(port)};
    return Status{};
}

Status ConvertComment(std::string_view utf8, int number, std::string& cp932) {
    return ToCp932Text(utf8, "注釈" + std::to_string(number), RecordOptions::MaxCommentBytes,
                       cp932);
}

int RecordMain(const std::vector<std::string>& args, CliContext& context) {
    ArgumentParser parser(WithCommonOptions({{"output", 'o', true, false},
                                             {"port", 0, true, false},
                                             {"duration", 0, true, false},
                                             {"comment", 0, true, true},
                                             {"overwrite", 0, false, false},
                                             {"raw", 0, true, false}}));
    if (const std::optional<int> status =
            ParseOrExit(parser, args, context, Command, RecordUsage(), Operands::None)) {
        return *status;
    }
    RecordOptions options;
    options.output = parser.Value("output").value_or(std::string());
    if (options.output.empty()) {
        return UsageError(context.reporter, Command, "-o で記録ファイルを指定してください。");
    }
    if (std::optional<std::string> port = parser.Value("port")) {
        const std::unique_ptr<PortRegistry> registry = MakeSystemPortRegistry();
        if (const Status named = ChoosePort(*port, *registry, options.port); !named.ok) {
            return UsageError(context.reporter, Command, named.message);
        }
    }
    if (std::optional<std::string> duration = parser.Value("duration")) {
        long long seconds = 0;
        if (!ParseInteger(*duration, 1, std::numeric_limits<int32_t>::max(), seconds)) {
            return UsageError(context.reporter, Command,
                              "--duration には 1 以上の整数 (秒) を指定してください: " + *duration);
        }
        options.durationSeconds = static_cast<int32_t>(seconds);
    }
    const std::vector<std::string> comments = parser.Values("comment");
    if (comments.size() > static_cast<std::size_t>(RecordOptions::MaxComments)) {
        return UsageError(context.reporter, Command, "--comment は 3 個までです。");
    }
    for (std::size_t i = 0; i < comments.size(); ++i) {
        const Status converted =
            ConvertComment(comments[i], static_cast<int>(i + 1), options.comments[i]);
        if (!converted.ok) {
            return UsageError(context.reporter, Command, converted.message);
        }
    }

    options.raw = parser.Value("raw").value_or(std::string());
    if (parser.Has("raw") && options.raw.empty()) {
        return UsageError(context.reporter, Command,
                          "--raw には生データを書き足すファイルを指定してください。");
    }
    if (!options.raw.empty() && SameFile(options.output, options.raw)) {
        return UsageError(context.reporter, Command,
                          options.raw + ": 記録ファイルと同じファイルには書き足せません。");
    }

    // Claimed before it is looked at, so that no second recorder can slip in
    // between the check and the first save.
    const OutputLock lock(options.output);
    if (!lock.Held()) {
        if (lock.Error() == EWOULDBLOCK) {
            context.reporter.Say(options.output, "ほかの記録が使用中のため、記録できません。");
            return ExitPortError;
        }
        context.reporter.Say(options.output,
                             "保存できません。(" + SystemErrorText(lock.Error()) + ")");
        return ExitFileError;
    }
    if (!CheckOutput(options.output, parser.Has("overwrite"), context.reporter)) {
        return ExitFileError;
    }
    std::optional<RawLog> raw;
    if (!options.raw.empty()) {
        raw.emplace(options.raw);
        if (!raw->Ok()) {
            context.reporter.Say(options.raw,
                                 "開けません。(" + SystemErrorText(raw->Error()) + ")");
            return ExitFileError;
        }
    }

    // From here a signal ends the recording in order instead of the process.
    const StopSignal signals;
    CliCounterLink link(options.port);
    RecorderConfig config;
    config.outputPath = options.output;
    config.settings = context.settings;
    config.comments = options.comments;
    config.durationSeconds = options.durationSeconds;
    // The view names the port and device it opened itself.
    config.origin = {{}, {}, std::string("quolix-cli ") + VersionText};
    config.raw = raw ? &*raw : nullptr;
    HeadlessRecorder recorder(link, std::move(config), context.out, context.reporter,
                              [&link] { return link.DevicePath(); });
    return recorder.Run(StopSignal::Flag());
}

}  // namespace quolix::cli
