#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliProcess.h"
#include "cli/OutputFile.h"
#include "cli/RecordingWriter.h"

namespace quolix {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

TEST(OutputFileTest, CommitReplacesTheTargetWhole) {
    TempDir dir;
    const std::string target = dir.File("out.csv");
    WriteFile(target, "old contents that are longer");
    ::chmod(target.c_str(), 0640);
    {
        OutputFile file(target);
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

TEST(OutputFileTest, WithoutACommitNothingChangesAndNothingIsLeft) {
    TempDir dir;
    const std::string target = dir.File("out.csv");
    WriteFile(target, "old");
    {
        OutputFile file(target);
        ASSERT_TRUE(file.Write("half of it"));
    }
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"out.csv"});
}

TEST(OutputFileTest, AMissingFolderOrADirectoryIsReported) {
    TempDir dir;
    const OutputFile missing(dir.File("none/out.csv"));
    EXPECT_FALSE(missing.Ok());
    EXPECT_EQ(missing.Error(), ENOENT);
    const OutputFile folder(dir.Path());
    EXPECT_FALSE(folder.Ok());
    EXPECT_EQ(folder.Error(), EISDIR);
    EXPECT_EQ(OutputFile::WriteWhole(dir.File("none/out.csv"), "x"), ENOENT);
    EXPECT_EQ(OutputFile::WriteWhole(dir.File("fine.csv"), "x"), 0);
    EXPECT_EQ(ReadFile(dir.File("fine.csv")), "x");
}

TEST(OutputFileTest, ThroughASymbolicLinkTheFileItNamesIsReplaced) {
    TempDir dir;
    const std::string real = dir.File("real.csv");
    const std::string link = dir.File("link.csv");
    WriteFile(real, "old");
    std::filesystem::create_symlink(real, link);
    ASSERT_EQ(OutputFile::WriteWhole(link, "new"), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(real), "new");
}

TEST(RecordingWriterTest, ReplacesTheRecordingWholeKeepingItsPermissionsAndLink) {
    TempDir dir;
    const std::string real = dir.File("real.qlx");
    const std::string link = dir.File("rec.qlx");
    WriteFile(real, "first version, longer than the next");
    ::chmod(real.c_str(), 0604);
    std::filesystem::create_symlink(real, link);
    RecordingWriter writer(link);
    ASSERT_EQ(writer.Write("second"), 0);
    ASSERT_EQ(writer.Write("third"), 0);
    EXPECT_EQ(ReadFile(real), "third");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0604u);
    std::vector<std::string> names = Names(dir.Path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"real.qlx", "rec.qlx"}));
}

TEST(RecordingWriterTest, AFolderThatWentAwayIsReportedAndThenWorksAgain) {
    TempDir dir;
    const std::string folder = dir.File("sub");
    std::filesystem::create_directory(folder);
    RecordingWriter writer(folder + "/rec.qlx");
    ASSERT_EQ(writer.Write("one"), 0);
    std::filesystem::remove_all(folder);
    EXPECT_EQ(writer.Write("two"), ENOENT);
    std::filesystem::create_directory(folder);
    ASSERT_EQ(writer.Write("three"), 0);
    EXPECT_EQ(ReadFile(folder + "/rec.qlx"), "three");
    EXPECT_EQ(Names(folder), std::vector<std::string>{"rec.qlx"});
}

}  // namespace
}  // namespace quolix
