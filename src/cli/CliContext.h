#pragma once

#include <cstdio>
#include <string>

#include "cli/Reporter.h"
#include "settings/SettingsLocation.h"

namespace quolix::cli {

// What every subcommand gets from the command line as a whole.
struct CliContext {
    // Where the settings are read and written, chosen at start-up or given
    // by --settings. Without a file the defaults apply and nothing is saved.
    SettingsLocation settings;
    // The folder of the running executable, for finding helpers.
    std::string programFolder;
    // Results go to out, messages to the reporter.
    std::FILE* out = stdout;
    Reporter& reporter;
};

}  // namespace quolix::cli
