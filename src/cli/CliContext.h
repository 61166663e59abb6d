#pragma once

#include <cstdio>
#include <string>

#include "cli/Reporter.h"

namespace quolix::cli {

// What every subcommand gets from the command line as a whole.
struct CliContext {
    // The settings file to use; empty means none could be found (the
    // defaults apply and nothing can be saved).
    std::string settingsPath;
    // The folder of the running executable, for finding helpers.
    std::string programFolder;
    // Results go to out, messages to the reporter.
    std::FILE* out = stdout;
    Reporter& reporter;
};

}  // namespace quolix::cli
