#include "settings/SettingsPath.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "settings/SettingsStore.h"

namespace quolix {
namespace {

TEST(SettingsPathTest, ExtensionBecomesIniOrIniIsAppended) {
    const struct {
        std::string executable;
        std::string settings;
    } cases[] = {
        {"/a/b/quolix", "/a/b/quolix.ini"},
        {"quolix", "quolix.ini"},
        {"/a/b/QUOLIX.EXE", "/a/b/QUOLIX.ini"},
        {"/a/b/quolix.exe", "/a/b/quolix.ini"},
        {"/x.exe/dir/quolix.exe", "/x.ini/dir/quolix.ini"},
        {"/X.EXE/dir/quolix.exe", "/X.ini/dir/quolix.ini"},
        {"/a/quolix.Exe", "/a/quolix.Exe.ini"},
        {"/a/quolix.exe.exe", "/a/quolix.ini.ini"},
        {"/a/quolix.exexe", "/a/quolix.inixe"},
        {"/a/quolix.ini", "/a/quolix.ini.ini"},
        {"/opt/quolix/bin/quolix", "/opt/quolix/bin/quolix.ini"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.executable);
        EXPECT_EQ(SettingsPathFor(c.executable), c.settings);
    }
}

TEST(SettingsPathTest, RunningExecutableGivesItsIniFile) {
    const std::string path = ExecutableSettingsPath();
    const std::string suffix = "/quolix_unit_tests.ini";
    ASSERT_GT(path.size(), suffix.size());
    EXPECT_TRUE(std::filesystem::path(path).is_absolute()) << path;
    EXPECT_EQ(path.substr(path.size() - suffix.size()), suffix);
}

TEST(SettingsPathTest, AStoreUsesTheFileItIsGiven) {
    // The build tree can be written: the file beside the executable is used.
    const SettingsLocation program = SettingsLocation::ForProgram(ExecutableSettingsPath());
    EXPECT_EQ(SettingsStore(program).Path(), ExecutableSettingsPath());
    EXPECT_EQ(SettingsStore("/tmp/elsewhere.ini").Path(), "/tmp/elsewhere.ini");
}

}  // namespace
}  // namespace quolix
