#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace quolix::app {

// What the command line asks the application to do at start-up.
struct CommandLineInfo {
    enum class Action {
        FileNew,    // no argument: a new, empty document
        FileOpen,   // one file: open it
        FilePrint,  // --print [FILE] or /p [FILE]: print it (asked for when not given), then exit
        Demo,       // --demo SECONDS FOLDER: record from the counter, save a picture and a file
        Help,       // --help
        Version,    // --version
        Invalid,    // anything else; error says why
    };

    Action action = Action::FileNew;
    std::string fileName;
    int demoSeconds = 0;
    std::string demoFolder;
    // --settings FILE before the rest: the one settings file to use.
    std::string settingsFile;
    std::string error;

    // Arguments without the program name.
    static CommandLineInfo Parse(const std::vector<std::string>& arguments);
    // What follows the options: the action and its operands.
    static CommandLineInfo ParseAction(const std::vector<std::string>& arguments);
    static const char* Usage();
    // "quolix <version>" and a newline.
    static std::string VersionLine();

    // Help and version need no window: prints them to out and gives the exit
    // status; nothing for every other action.
    std::optional<int> AnswerWithoutWindow(std::FILE* out) const;
};

}  // namespace quolix::app
