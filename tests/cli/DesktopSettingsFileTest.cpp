// The desktop application's settings file, as a user's running copy meets it.

#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "cli/CliProcess.h"

namespace quolix::cli {
namespace {

#ifdef QUOLIX_DESKTOP

using testing::CliProcess;
using testing::TempDir;

// The file is found once, at start-up. A package upgrade replaces the
// executable of a running copy, whose name then reads "quolix (deleted)"; the
// window's placement stored at exit must still go to the file beside it.
TEST(DesktopSettingsFile, StaysWhereItWasWhenTheExecutableIsReplaced) {
    TempDir dir;
    ASSERT_TRUE(dir.Ok());
    const std::string program = dir.File("quolix");
    std::filesystem::copy_file(QUOLIX_DESKTOP, program);
    ASSERT_EQ(::chmod(program.c_str(), 0755), 0);

    CliProcess sim;
    const std::string link = dir.File("counter");
    ASSERT_TRUE(sim.Start(QUOLIX_COUNTER_SIM, {"--link", link}));
    ASSERT_EQ(sim.ReadLine(5000).rfind(link + " -> ", 0), 0u);

    CliProcess app;
    ASSERT_TRUE(app.Start(
        program, {"--demo", "2", dir.File("demo")},
        {{"QT_QPA_PLATFORM", "offscreen"}, {"QUOLIX_STARTUP_TIMING", "1"}, {"QUOLIX_COM1", link}}));
    ASSERT_TRUE(app.WaitForError("first paint"));
    // As a package manager does it: a new file renamed over the old one.
    std::filesystem::copy_file(QUOLIX_DESKTOP, program + ".new");
    std::filesystem::rename(program + ".new", program);
    const CliProcess::Result result = app.Finish();
    sim.Signal(SIGTERM);
    sim.Finish(5000);

    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.File("quolix.ini")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("quolix (deleted).ini")));
}

#endif

}  // namespace
}  // namespace quolix::cli
