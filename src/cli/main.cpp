// quolix-cli: headless recording and file tools on the same core as the
// desktop application. See quolix::cli::Usage.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/ProgramPaths.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return quolix::cli::Run(args, quolix::cli::ProgramFolder(), stdout, stderr);
}
