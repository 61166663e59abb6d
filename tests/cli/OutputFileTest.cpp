#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliProcess.h"
#include "cli/OutputFile.h"

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

}  // namespace
}  // namespace quolix
