#include "cli/CommandSupport.h"

#include <cstring>

#include "base/Cp932.h"
#include "base/FileSystem.h"
#include "cli/CliContext.h"
#include "cli/ExitStatus.h"
#include "settings/SettingsStore.h"

namespace quolix::cli {

std::vector<OptionSpec> WithCommonOptions(std::vector<OptionSpec> specs) {
    specs.push_back({"help", 'h', false, false});
    specs.push_back({"settings", 0, true, false});
    return specs;
}

ParseStatus ParseCommonOptions(ArgumentParser& parser, const std::vector<std::string>& args,
                               CliContext& context, std::string& error) {
    if (const Status parsed = parser.Parse(args); !parsed.ok) {
        error = parsed.message;
        // Help wins over a mistake elsewhere on the same line.
        for (const std::string& arg : args) {
            if (arg == "--help" || arg == "-h") {
                return ParseStatus::Help;
            }
            if (arg == "--") {
                break;
            }
        }
        return ParseStatus::Invalid;
    }
    if (parser.Has("help")) {
        return ParseStatus::Help;
    }
    if (std::optional<std::string> settings = parser.Value("settings")) {
        if (settings->empty()) {
            error = "--settings には設定ファイルのパスを指定してください。";
            return ParseStatus::Invalid;
        }
        context.settings = SettingsLocation::Explicit(*settings);
    }
    return ParseStatus::Run;
}

std::optional<int> ParseOrExit(ArgumentParser& parser, const std::vector<std::string>& args,
                               CliContext& context, std::string_view command,
                               std::string_view usage, Operands operands) {
    std::string error;
    switch (ParseCommonOptions(parser, args, context, error)) {
        case ParseStatus::Help:
            Print(context, usage);
            return ExitOk;
        case ParseStatus::Invalid:
            return UsageError(context.reporter, command, error);
        case ParseStatus::Run:
            break;
    }
    const std::vector<std::string>& given = parser.Positionals();
    if (operands == Operands::None && !given.empty()) {
        return UsageError(context.reporter, command, "余分な引数があります: " + given.front());
    }
    if (operands == Operands::OneRecording && given.size() != 1) {
        return UsageError(context.reporter, command, "記録ファイルを 1 個指定してください。");
    }
    return std::nullopt;
}

Status ToCp932Text(std::string_view utf8, const std::string& name, size_t maxBytes,
                   std::string& cp932) {
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) < 0x20) {
            return Status::Failure(name + " に制御文字は使えません。");
        }
    }
    std::optional<std::string> converted = Utf8ToCp932(utf8);
    if (!converted) {
        return Status::Failure(name + " に CP932 で表せない文字があります: " + std::string(utf8));
    }
    if (converted->size() > maxBytes) {
        return Status::Failure(name + " が長すぎます (CP932 で " +
                               std::to_string(converted->size()) + " バイト、上限 " +
                               std::to_string(maxBytes) + " バイト)。");
    }
    cp932 = std::move(*converted);
    return Status{};
}

int UsageError(Reporter& reporter, std::string_view command, const std::string& error) {
    std::string help = "quolix-cli ";
    if (!command.empty()) {
        help += command;
        help += ' ';
    }
    help += "--help";
    reporter.Say({}, error + "\n使い方は " + help + " で確かめてください。");
    return ExitUsage;
}

bool Print(CliContext& context, std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), context.out) != text.size()) {
        return false;
    }
    return std::fflush(context.out) == 0;
}

bool LoadSettings(const CliContext& context, SettingsRecord& settings) {
    SettingsStore store(context.settings);
    return store.LoadInto(settings);
}

bool SameFile(const std::string& a, const std::string& b) {
    return platform::SameFile(a, b);
}

}  // namespace quolix::cli
