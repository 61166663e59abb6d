#include "base/ReplacementFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "unit/SettingsTempDir.h"

namespace quolix {
namespace {

using TempDir = testing::SettingsTempDir;

std::string ReadFile(const std::string& path) {
    return testing::ReadBytes(path);
}
void WriteFile(const std::string& path, const std::string& bytes) {
    testing::WriteBytes(path, bytes);
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

TEST(ReplacementFileTest, CommitReplacesTheTargetWhole) {
    TempDir dir;
    const std::string target = dir.File("out.csv");
    WriteFile(target, "old contents that are longer");
    ::chmod(target.c_str(), 0640);
    {
        ReplacementFile file(target);
        ASSERT_TRUE(file.Ok());
        EXPECT_NE(file.TempPath(), target);
        ASSERT_TRUE(file.Write("new"));
        // Until the commit the old file is untouched.
        EXPECT_EQ(ReadFile(target), "old contents that are longer");
        ASSERT_TRUE(file.Commit());
    }
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"out.csv"});
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(ReplacementFileTest, WithoutACommitNothingChangesAndNothingIsLeft) {
    TempDir dir;
    const std::string target = dir.File("out.csv");
    WriteFile(target, "old");
    {
        ReplacementFile file(target);
        ASSERT_TRUE(file.Write("half of it"));
    }
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"out.csv"});
}

TEST(ReplacementFileTest, AMissingFolderOrADirectoryIsReported) {
    TempDir dir;
    const ReplacementFile missing(dir.File("none/out.csv"));
    EXPECT_FALSE(missing.Ok());
    EXPECT_EQ(missing.Error(), ENOENT);
    const ReplacementFile folder(dir.Path());
    EXPECT_FALSE(folder.Ok());
    EXPECT_EQ(folder.Error(), EISDIR);
    EXPECT_EQ(ReplacementFile::WriteWhole(dir.File("none/out.csv"), "x").error, ENOENT);
    EXPECT_EQ(ReplacementFile::WriteWhole(dir.File("fine.csv"), "x").error, 0);
    EXPECT_EQ(ReadFile(dir.File("fine.csv")), "x");
}

TEST(ReplacementFileTest, ThroughASymbolicLinkTheFileItNamesIsReplaced) {
    TempDir dir;
    const std::string real = dir.File("real.csv");
    const std::string link = dir.File("link.csv");
    WriteFile(real, "old");
    std::filesystem::create_symlink(real, link);
    ASSERT_EQ(ReplacementFile::WriteWhole(link, "new").error, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(real), "new");
}

// The recorder's per-sample writes: nothing flushed, but still whole or not at all.
TEST(ReplacementFileTest, UnflushedReplacementsKeepPermissionsAndLink) {
    TempDir dir;
    const std::string real = dir.File("real.qlx");
    const std::string link = dir.File("rec.qlx");
    WriteFile(real, "first version, longer than the next");
    ::chmod(real.c_str(), 0604);
    std::filesystem::create_symlink(real, link);
    constexpr auto None = ReplacementFile::Flush::None;
    ASSERT_EQ(ReplacementFile::WriteWhole(link, "second", None).error, 0);
    ASSERT_EQ(ReplacementFile::WriteWhole(link, "third", None).error, 0);
    EXPECT_EQ(ReadFile(real), "third");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0604u);
    std::vector<std::string> names = Names(dir.Path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"real.qlx", "rec.qlx"}));
}

TEST(ReplacementFileTest, AFolderThatWentAwayIsReportedAndThenWorksAgain) {
    TempDir dir;
    const std::string folder = dir.File("sub");
    std::filesystem::create_directory(folder);
    const std::string file = folder + "/rec.qlx";
    constexpr auto None = ReplacementFile::Flush::None;
    ASSERT_EQ(ReplacementFile::WriteWhole(file, "one", None).error, 0);
    std::filesystem::remove_all(folder);
    EXPECT_EQ(ReplacementFile::WriteWhole(file, "two", None).error, ENOENT);
    std::filesystem::create_directory(folder);
    ASSERT_EQ(ReplacementFile::WriteWhole(file, "three", None).error, 0);
    EXPECT_EQ(ReadFile(folder + "/rec.qlx"), "three");
    EXPECT_EQ(Names(folder), std::vector<std::string>{"rec.qlx"});
}

}  // namespace
}  // namespace quolix
