// quolix-cli: headless recording and file tools on the same core as the
// desktop application. See quolix::cli::Usage.

#include <cstdio>
#include <string>
#include <vector>

#include "base/ProgramArguments.h"
#include "cli/CliApp.h"
#include "cli/ProgramPaths.h"

int main(int argc, char** argv) {
    quolix::platform::UseBinaryOutput();
    const std::vector<std::string> args = quolix::platform::ProgramArguments(argc, argv);
    return quolix::cli::Run(args, quolix::cli::ProgramFolder(), stdout, stderr);
}
