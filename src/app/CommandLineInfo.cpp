#include "app/CommandLineInfo.h"

#include <charconv>

#include "QuolixVersion.h"

namespace quolix::app {

namespace {

CommandLineInfo Invalid(std::string error) {
    CommandLineInfo info;
    info.action = CommandLineInfo::Action::Invalid;
    info.error = std::move(error);
    return info;
}

}  // namespace

CommandLineInfo CommandLineInfo::Parse(const std::vector<std::string>& given) {
    std::vector<std::string> arguments = given;
    std::string settingsFile;
    if (!arguments.empty() &&
        (arguments[0] == "--settings" || arguments[0].starts_with("--settings="))) {
        if (arguments[0] == "--settings") {
            if (arguments.size() < 2) {
                return Invalid("--settings には設定ファイルのパスを指定してください。");
            }
            settingsFile = arguments[1];
            arguments.erase(arguments.begin(), arguments.begin() + 2);
        } else {
            settingsFile = arguments[0].substr(std::string_view("--settings=").size());
            arguments.erase(arguments.begin());
        }
        if (settingsFile.empty()) {
            return Invalid("--settings には設定ファイルのパスを指定してください。");
        }
    }
    CommandLineInfo info = ParseAction(arguments);
    info.settingsFile = std::move(settingsFile);
    return info;
}

CommandLineInfo CommandLineInfo::ParseAction(const std::vector<std::string>& arguments) {
    CommandLineInfo info;
    if (arguments.empty()) {
        return info;
    }
    const std::string& first = arguments[0];
    if (first == "--help" || first == "-h") {
        info.action = Action::Help;
        return info;
    }
    if (first == "--version") {
        info.action = Action::Version;
        return info;
    }
    if (first == "--print" || first == "/p" || first == "/P") {
        // Without a file (the desktop's print action, started alone) the
        // application asks for one.
        if (arguments.size() > 2 || (arguments.size() == 2 && arguments[1].empty())) {
            return Invalid("--print には印刷するファイルを一つ指定してください。");
        }
        info.action = Action::FilePrint;
        if (arguments.size() == 2) {
            info.fileName = arguments[1];
        }
        return info;
    }
    if (first == "--demo") {
        int seconds = 0;
        if (arguments.size() != 3 ||
            std::from_chars(arguments[1].data(), arguments[1].data() + arguments[1].size(), seconds)
                    .ec != std::errc() ||
            seconds <= 0 || arguments[2].empty()) {
            return Invalid("--demo には秒数と保存先のフォルダを指定してください。");
        }
        info.action = Action::Demo;
        info.demoSeconds = seconds;
        info.demoFolder = arguments[2];
        return info;
    }
    if (arguments.size() != 1 || (first.size() > 1 && first[0] == '-' && first[1] == '-')) {
        return Invalid("引数が正しくありません: " + first);
    }
    info.action = Action::FileOpen;
    info.fileName = first;
    return info;
}

const char* CommandLineInfo::Usage() {
    return "使い方: quolix [--settings 設定ファイル] [ファイル.qlx]\n"
           "       quolix [--settings 設定ファイル] --print [ファイル.qlx]   (/p ファイル.qlx "
           "も可)\n"
           "       quolix [--settings 設定ファイル] --demo 秒数 フォルダ\n"
           "       quolix --help | --version\n";
}

std::string CommandLineInfo::VersionLine() {
    return std::string("quolix ") + VersionText + "\n";
}

std::optional<int> CommandLineInfo::AnswerWithoutWindow(std::FILE* out) const {
    switch (action) {
        case Action::Help:
            std::fputs(Usage(), out);
            return 0;
        case Action::Version:
            std::fputs(VersionLine().c_str(), out);
            return 0;
        default:
            return std::nullopt;
    }
}

}  // namespace quolix::app
