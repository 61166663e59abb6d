#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace quolix::cli {

// quolix-cli as a whole: the global options, then one subcommand.
//   quolix-cli [--settings FILE] <record|info|export|render|settings> [options]
std::string Usage(const std::string& defaultSettingsPath);

// args without the program name. programFolder is where the executable
// lives; the settings file beside it is the default. Returns the exit status.
int Run(const std::vector<std::string>& args, const std::string& programFolder, std::FILE* out,
        std::FILE* err);

}  // namespace quolix::cli
