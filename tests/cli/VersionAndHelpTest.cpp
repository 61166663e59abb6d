// --version and --help of every program, run as a user runs them over ssh:
// no display, no Qt platform chosen. They must answer, not abort.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "QuolixVersion.h"
#include "cli/CliProcess.h"

namespace quolix::cli {
namespace {

using testing::CliProcess;

struct Program {
    std::string path;
    std::string name;
    std::string usageStart;
};

std::vector<Program> Programs() {
    std::vector<Program> programs = {
        {QUOLIX_CLI, "quolix-cli", "使い方: quolix-cli "},
        {QUOLIX_COUNTER_SIM, "quolix-counter-sim", "Usage: quolix-counter-sim "},
    };
#ifdef QUOLIX_DESKTOP
    programs.push_back({QUOLIX_DESKTOP, "quolix", "使い方: quolix "});
#endif
    return programs;
}

const std::vector<std::string> NoDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};

TEST(VersionAndHelp, EveryProgramAnswersWithoutADisplay) {
    for (const Program& program : Programs()) {
        SCOPED_TRACE(program.name);
        const CliProcess::Result version =
            CliProcess::Run(program.path, {"--version"}, {}, NoDisplay);
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.out, program.name + " " + VersionText + "\n");
        EXPECT_EQ(version.err, "");

        const CliProcess::Result help = CliProcess::Run(program.path, {"--help"}, {}, NoDisplay);
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind(program.usageStart, 0), 0u) << help.out;
        EXPECT_EQ(help.err, "");
    }
#ifdef QUOLIX_DESKTOP
    // After Qt's own options the answer comes once Qt has taken them out.
    const CliProcess::Result afterQt =
        CliProcess::Run(QUOLIX_DESKTOP, {"-platform", "offscreen", "--version"}, {}, NoDisplay);
    EXPECT_EQ(afterQt.status, 0);
    EXPECT_EQ(afterQt.out, std::string("quolix ") + VersionText + "\n");
#endif
}

}  // namespace
}  // namespace quolix::cli
