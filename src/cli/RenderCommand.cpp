#include "cli/RenderCommand.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "base/IntegerText.h"
#include "base/Status.h"
#include "base/SystemErrorText.h"
#include "cli/CliContext.h"
#include "cli/CommandSupport.h"
#include "cli/ExitStatus.h"
#include "cli/ProgramPaths.h"

namespace quolix::cli {

namespace {

constexpr std::string_view Command = "render";

bool EndsWithNoCase(const std::string& text, std::string_view suffix) {
    if (text.size() < suffix.size()) {
        return false;
    }
    return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<long>(suffix.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

}  // namespace

std::string RenderUsage() {
    return "使い方: quolix-cli render FILE.qlx -o OUT.png|OUT.pdf [--size WxH] [--page]\n"
           "\n"
           "記録ファイルのグラフを、ウィンドウと同じ描き方で PNG 画像または PDF に描きます\n"
           "(時刻と現在の読み値の表示は除きます)。色・線の太さ・タイトル・分解能・\n"
           "カラープリンタの設定は設定ファイルのものを使います。画面は要りません。\n"
           "\n"
           "  -o, --output OUT   出力ファイル。拡張子 .png または .pdf で形式を選びます\n"
           "  --size WxH         ウィンドウの大きさ (ピクセル、既定 800x600、各辺 16-8192)\n"
           "  --page             ウィンドウの代わりに印刷するページを描きます\n"
           "                     (A4、300 dpi。--size とは同時に使えません)\n"
           "  --settings FILE    設定ファイル\n"
           "  -h, --help         この説明を表示します\n";
}

bool ParseSize(const std::string& text, int32_t& width, int32_t& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) {
        return false;
    }
    long long w = 0;
    long long h = 0;
    const std::string_view all(text);
    const std::string_view widthText = all.substr(0, x);
    const std::string_view heightText = all.substr(x + 1);
    // Digits only: no signs, no blanks.
    const auto digits = [](std::string_view part) {
        return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!digits(widthText) || !digits(heightText) ||
        !ParseInteger(widthText, RenderOptions::MinSide, RenderOptions::MaxSide, w) ||
        !ParseInteger(heightText, RenderOptions::MinSide, RenderOptions::MaxSide, h)) {
        return false;
    }
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
    return true;
}

std::optional<int> ParseRenderOptions(const std::vector<std::string>& args, CliContext& context,
                                      RenderOptions& options) {
    ArgumentParser parser(WithCommonOptions(
        {{"output", 'o', true, false}, {"size", 0, true, false}, {"page", 0, false, false}}));
    if (const std::optional<int> status =
            ParseOrExit(parser, args, context, Command, RenderUsage(), Operands::OneRecording)) {
        return *status;
    }
    options.file = parser.Positionals().front();
    options.output = parser.Value("output").value_or(std::string());
    if (EndsWithNoCase(options.output, ".png")) {
        options.format = ImageFormat::Png;
    } else if (EndsWithNoCase(options.output, ".pdf")) {
        options.format = ImageFormat::Pdf;
    } else {
        return UsageError(context.reporter, Command,
                          "-o には拡張子 .png または .pdf の出力ファイルを指定してください。");
    }
    if (SameFile(options.file, options.output)) {
        return UsageError(context.reporter, Command,
                          options.output + ": 読み込む記録ファイルと同じファイルには描けません。");
    }
    options.page = parser.Has("page");
    if (std::optional<std::string> size = parser.Value("size")) {
        if (options.page) {
            return UsageError(context.reporter, Command, "--page と --size は同時に使えません。");
        }
        if (!ParseSize(*size, options.width, options.height)) {
            return UsageError(context.reporter, Command,
                              "--size は WxH の形で、各辺 16 から 8192 ピクセルです: " + *size);
        }
    }
    return std::nullopt;
}

std::vector<std::string> HelperArguments(const RenderOptions& options,
                                         const std::string& settingsPath) {
    std::vector<std::string> args = {"--output", options.output};
    if (options.page) {
        args.push_back("--page");
    } else {
        args.push_back("--size");
        args.push_back(std::to_string(options.width) + "x" + std::to_string(options.height));
    }
    if (!settingsPath.empty()) {
        args.push_back("--settings");
        args.push_back(settingsPath);
    }
    // The file last, behind "--", so that a name beginning with "-" stays a name.
    args.push_back("--");
    args.push_back(options.file);
    return args;
}

int RenderMain(const std::vector<std::string>& args, CliContext& context) {
    RenderOptions options;
    if (std::optional<int> status = ParseRenderOptions(args, context, options)) {
        return *status;
    }
    const std::vector<std::string> candidates = RenderHelperCandidates(context.programFolder);
    const auto helper = std::find_if(candidates.begin(), candidates.end(), [](const auto& path) {
        return ::access(path.c_str(), X_OK) == 0;
    });
    if (helper == candidates.end()) {
        const std::string where =
            candidates.empty() ? std::string(RenderHelperName) : candidates.front();
        context.reporter.Say(where, "描画用のプログラムが見つかりません。");
        return ExitFileError;
    }
    std::vector<std::string> all = {*helper};
    const std::vector<std::string> rest = HelperArguments(options, context.settings.ReadPath());
    all.insert(all.end(), rest.begin(), rest.end());
    std::vector<char*> argv;
    argv.reserve(all.size() + 1);
    for (std::string& arg : all) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    std::fflush(nullptr);
    ::execv(helper->c_str(), argv.data());
    context.reporter.Say(
        *helper, "描画用のプログラムを起動できませんでした。(" + SystemErrorText(errno) + ")");
    return ExitFileError;
}

}  // namespace quolix::cli
