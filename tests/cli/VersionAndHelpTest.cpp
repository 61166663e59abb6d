// --version and --help of every program, and the desktop program's print, run
// as a user runs them over ssh: no display, no Qt platform chosen. They must
// answer, not abort.

#include <map>
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

#ifdef QUOLIX_DESKTOP
// A print needs no window, so it needs no display either; it must not abort
// for want of a Qt platform, nor wait on a message box nobody sees (no
// counter answers here). No spooler is reachable, so the print itself fails,
// and says so. Asking for a file does need a display.
TEST(VersionAndHelp, ThePrintRunsWithoutADisplay) {
    const std::map<std::string, std::string> noSpooler = {{"CUPS_SERVER", "/nonexistent/cups.sock"},
                                                          {"QUOLIX_COM1", "/nonexistent/tty"}};
    const CliProcess::Result printed =
        CliProcess::Run(QUOLIX_DESKTOP, {"--print", std::string(QUOLIX_GOLDEN_DIR) + "/step.qlx"},
                        noSpooler, NoDisplay);
    EXPECT_EQ(printed.status, 1);
    EXPECT_NE(printed.err.find("step.qlx を印刷できませんでした。\n使えるプリンタがありません。"),
              std::string::npos)
        << printed.err;

    const CliProcess::Result asked = CliProcess::Run(QUOLIX_DESKTOP, {"--print"}, {}, NoDisplay);
    EXPECT_EQ(asked.status, 2);
    EXPECT_EQ(asked.err.rfind("画面がないため、印刷するファイルを尋ねられません。", 0), 0u)
        << asked.err;
}
#endif

}  // namespace
}  // namespace quolix::cli
