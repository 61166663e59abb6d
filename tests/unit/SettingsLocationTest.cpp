#include "settings/SettingsLocation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "settings/SettingsStore.h"
#include "unit/SettingsTempDir.h"

namespace quolix {
namespace {

using testing::ReadBytes;
using testing::SettingsTempDir;
using testing::WriteBytes;

// Sets an environment variable for the scope; unset when value is nullopt.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            saved_ = old;
        }
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (saved_) {
            ::setenv(name_, saved_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(SettingsLocationTest, PerUserFileFollowsXdgConfigHomeThenHome) {
    const struct {
        std::optional<std::string> xdg;
        std::string expected;
    } cases[] = {
        {"/x/config", "/x/config/quolix/quolix.ini"},
        {"/x/config/", "/x/config/quolix/quolix.ini"},
        // Relative and empty values are not to be used.
        {"relative", "/home/u/.config/quolix/quolix.ini"},
        {"", "/home/u/.config/quolix/quolix.ini"},
        {std::nullopt, "/home/u/.config/quolix/quolix.ini"},
    };
    const ScopedEnv home("HOME", "/home/u");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xdg.value_or("(unset)"));
        const ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        EXPECT_EQ(PerUserSettingsPath(), c.expected);
    }
}

// The file beside the executable is used where the user can write it; else
// the per-user file, with the one beside read until the per-user one exists.
// Judged for an ordinary user (as root, nobody is borrowed for the check).
TEST(SettingsLocationTest, BesideWhenWritableElsePerUser) {
    SettingsTempDir dir;
    ASSERT_TRUE(dir.Ok());
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    const std::string perUser = "/home/u/.config/quolix/quolix.ini";
    const struct {
        const char* name;
        mode_t folderMode;
        std::optional<mode_t> fileMode;  // nullopt: no file beside
        bool beside;
    } cases[] = {
        {"no file, writable folder", 0777, std::nullopt, true},
        {"writable file", 0755, 0666, true},
        {"read-only file in a writable folder", 0777, 0444, false},
        {"no file, read-only folder", 0755, std::nullopt, false},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = dir.File("bin" + std::to_string(index++));
        ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
        const std::string beside = folder + "/quolix.ini";
        if (c.fileMode) {
            WriteBytes(beside, "x");
            ASSERT_EQ(::chmod(beside.c_str(), *c.fileMode), 0);
        }
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
        SettingsLocation chosen;
        if (::geteuid() == 0) {
            if (::seteuid(65534) != 0) {
                GTEST_SKIP() << "cannot act as an ordinary user";
            }
            chosen = SettingsLocation::Choose(beside, perUser);
            ASSERT_EQ(::seteuid(0), 0);
        } else {
            chosen = SettingsLocation::Choose(beside, perUser);
        }
        if (c.beside) {
            EXPECT_EQ(chosen.file, beside);
            EXPECT_EQ(chosen.fallback, "");
        } else {
            EXPECT_EQ(chosen.file, perUser);
            EXPECT_EQ(chosen.fallback, beside);
            EXPECT_TRUE(chosen.perUser);
        }
        ::chmod(folder.c_str(), 0755);
    }
    // Without a per-user file to go to, the file beside is all there is.
    EXPECT_EQ(SettingsLocation::Choose("/proc/quolix.ini", "").file, "/proc/quolix.ini");
}

// An installed copy: the administrator's file beside the executable is read
// until the first save, which makes the per-user file (and its folders) and
// leaves the administrator's file alone; from then on the per-user file is read.
TEST(SettingsLocationTest, PerUserFileTakesOverFromTheDefaultBesideAtTheFirstSave) {
    SettingsTempDir dir;
    ASSERT_TRUE(dir.Ok());
    const std::string beside = dir.File("quolix.ini");
    SettingsRecord system;
    system.ApplyDefaults();
    system.Text(SettingsRecord::Title1) = "site default";
    ASSERT_TRUE(SettingsStore(beside).SaveFrom(system));
    const std::string before = ReadBytes(beside);
    const SettingsLocation location{dir.File("config/quolix/quolix.ini"), beside, true};

    SettingsRecord record;
    EXPECT_TRUE(SettingsStore(location).LoadInto(record));
    EXPECT_EQ(record.Text(SettingsRecord::Title1), "site default");
    EXPECT_EQ(location.ReadPath(), beside);

    record.Int(SettingsRecord::Resolution) = 2;
    SettingsStore store(location);
    ASSERT_TRUE(store.SaveFrom(record)) << store.SaveFailureMessage();
    EXPECT_EQ(ReadBytes(beside), before);
    EXPECT_EQ(location.ReadPath(), location.file);
    SettingsRecord again;
    EXPECT_TRUE(SettingsStore(location).LoadInto(again));
    EXPECT_TRUE(again == record);
}

}  // namespace
}  // namespace quolix
