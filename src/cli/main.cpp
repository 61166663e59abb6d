// quolix-cli: headless recording and file tools on the same core as the
// desktop application. See CliApp::Usage.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/ProgramPaths.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return quolix::CliApp::Run(args, quolix::ProgramPaths::ProgramFolder(), stdout, stderr);
}
