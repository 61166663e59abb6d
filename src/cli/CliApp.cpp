#include "cli/CliApp.h"

#include <array>
#include <string_view>

#include "QuolixVersion.h"
#include "cli/CliContext.h"
#include "cli/CommandSupport.h"
#include "cli/ExitStatus.h"
#include "cli/ExportCommand.h"
#include "cli/InfoCommand.h"
#include "cli/PortsCommand.h"
#include "cli/ProgramPaths.h"
#include "cli/RecordCommand.h"
#include "cli/RenderCommand.h"
#include "cli/Reporter.h"
#include "cli/SettingsCommand.h"

namespace quolix::cli {

namespace {

struct Subcommand {
    std::string_view name;
    int (*main)(const std::vector<std::string>&, CliContext&);
    std::string (*usage)();
};

constexpr std::array<Subcommand, 6> Subcommands = {{
    {"record", &RecordMain, &RecordUsage},
    {"info", &InfoMain, &InfoUsage},
    {"export", &ExportMain, &ExportUsage},
    {"render", &RenderMain, &RenderUsage},
    {"settings", &SettingsMain, &SettingsUsage},
    {"ports", &PortsMain, &PortsUsage},
}};

const Subcommand* Find(std::string_view name) {
    for (const Subcommand& subcommand : Subcommands) {
        if (subcommand.name == name) {
            return &subcommand;
        }
    }
    return nullptr;
}

}  // namespace

std::string Usage(const std::string& defaultSettingsPath) {
    return "使い方: quolix-cli [--settings FILE] <コマンド> [オプション]\n"
           "\n"
           "周波数カウンタを端末から記録し、記録ファイル (.qlx) を調べます。\n"
           "設定は同じフォルダーにある quolix と共通の設定ファイルを使います。\n"
           "\n"
           "コマンド:\n"
           "  record    カウンタから記録し、記録ファイルに保存します\n"
           "  info      記録ファイルの内容を表示します\n"
           "  export    記録ファイルを CSV に書き出します\n"
           "  render    グラフを PNG 画像または PDF に描きます\n"
           "  settings  設定ファイルを表示・変更します\n"
           "  ports     COM1-COM6 に割り当てたシリアルデバイスを表示します\n"
           "\n"
           "共通オプション:\n"
           "  --settings FILE  設定ファイル (既定: " +
           (defaultSettingsPath.empty() ? std::string("なし") : defaultSettingsPath) +
           ")\n"
           "  -h, --help       この説明を表示します\n"
           "  --version        版を表示します\n"
           "\n"
           "各コマンドの説明: quolix-cli <コマンド> --help\n"
           "終了コード: 0 成功, 1 ファイルを読めない・書けない, 2 カウンタのポートを開けない,\n"
           "            64 コマンドラインの誤り\n";
}

int Run(const std::vector<std::string>& args, const std::string& programFolder, std::FILE* out,
        std::FILE* err) {
    Reporter reporter(err, "quolix-cli");
    // Decided once: the program keeps to it however long it runs.
    CliContext context{SettingsLocation::ForProgram(SettingsPathIn(programFolder)), programFolder,
                       out, reporter};
    const std::string defaultSettings = context.settings.file;

    std::size_t at = 0;
    for (; at < args.size(); ++at) {
        const std::string& arg = args[at];
        if (arg == "-h" || arg == "--help") {
            Print(context, Usage(defaultSettings));
            return ExitOk;
        }
        if (arg == "--version") {
            Print(context, std::string("quolix-cli ") + VersionText + "\n");
            return ExitOk;
        }
        if (arg == "--settings" || arg.rfind("--settings=", 0) == 0) {
            std::string value;
            if (arg == "--settings") {
                if (at + 1 >= args.size()) {
                    return UsageError(reporter, {}, "オプション --settings には値が必要です。");
                }
                value = args[++at];
            } else {
                value = arg.substr(std::string_view("--settings=").size());
            }
            if (value.empty()) {
                return UsageError(reporter, {},
                                  "--settings には設定ファイルのパスを指定してください。");
            }
            context.settings = SettingsLocation::Explicit(value);
            continue;
        }
        if (!arg.empty() && arg[0] == '-') {
            return UsageError(reporter, {}, "不明なオプションです: " + arg);
        }
        break;
    }
    if (at >= args.size()) {
        return UsageError(reporter, {}, "コマンドを指定してください。");
    }
    const std::string& name = args[at];
    const std::vector<std::string> rest(args.begin() + static_cast<long>(at) + 1, args.end());
    if (name == "help") {
        if (rest.empty()) {
            Print(context, Usage(defaultSettings));
            return ExitOk;
        }
        if (const Subcommand* subcommand = Find(rest.front())) {
            Print(context, subcommand->usage());
            return ExitOk;
        }
        return UsageError(reporter, {}, "不明なコマンドです: " + rest.front());
    }
    const Subcommand* subcommand = Find(name);
    if (subcommand == nullptr) {
        return UsageError(reporter, {}, "不明なコマンドです: " + name);
    }
    return subcommand->main(rest, context);
}

}  // namespace quolix::cli
