#include "base/ReplacementFile.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>
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

// What the replacement asked of the system, in order: "write", "fsync:file",
// "fsync:folder", "rename"; each call fails when its name is failWith.
struct CallLog {
    std::vector<std::string> calls;
    std::string failWith;
};
CallLog* callLog = nullptr;

bool Logged(const std::string& call) {
    callLog->calls.push_back(call);
    if (callLog->failWith == call) {
        errno = EIO;
        return false;
    }
    return true;
}
ssize_t LoggedWrite(int fd, const void* bytes, size_t size) {
    return Logged("write") ? ::write(fd, bytes, size) : -1;
}
int LoggedFsync(int fd) {
    struct stat info {};
    ::fstat(fd, &info);
    return Logged(S_ISDIR(info.st_mode) ? "fsync:folder" : "fsync:file") ? ::fsync(fd) : -1;
}
int LoggedRename(const char* from, const char* to) {
    return Logged("rename") ? ::rename(from, to) : -1;
}

class ReplacementFileCallsTest : public ::testing::Test {
  protected:
    ReplacementFileCallsTest() { callLog = &log_; }
    ~ReplacementFileCallsTest() override { callLog = nullptr; }
    CallLog log_;
    ReplacementFile::ScopedSystemCalls scoped_{{LoggedWrite, LoggedFsync, LoggedRename}};
};

TEST_F(ReplacementFileCallsTest, EachFlushLevelReachesTheDiskInOrder) {
    TempDir dir;
    const std::string target = dir.File("rec.qlx");
    using Flush = ReplacementFile::Flush;
    const struct {
        Flush flush;
        std::vector<std::string> calls;
    } cases[] = {
        {Flush::None, {"write", "rename"}},
        {Flush::Data, {"write", "fsync:file", "rename"}},
        {Flush::DataAndFolder, {"write", "fsync:file", "rename", "fsync:folder"}},
    };
    for (const auto& c : cases) {
        log_.calls.clear();
        ASSERT_EQ(ReplacementFile::WriteWhole(target, "data", c.flush).error, 0);
        EXPECT_EQ(log_.calls, c.calls);
    }
}

// A failed write, flush or rename fails the replacement with its errno and
// leaves the old file and no temporary.
TEST_F(ReplacementFileCallsTest, AFailedCallFailsTheReplacement) {
    for (const std::string call : {"write", "fsync:file", "rename"}) {
        TempDir dir;
        const std::string target = dir.File("rec.qlx");
        WriteFile(target, "old");
        log_.failWith = call;
        EXPECT_EQ(ReplacementFile::WriteWhole(target, "new").error, EIO) << call;
        EXPECT_EQ(ReadFile(target), "old") << call;
        EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"rec.qlx"}) << call;
    }
}

// Root may write any file, so as root the attempt runs in a child that has
// become an ordinary user.
TEST(ReplacementFileTest, AReadOnlyTargetIsRefusedAndKept) {
    TempDir dir;
    const std::string target = dir.File("rec.qlx");
    WriteFile(target, "old");
    ::chmod(target.c_str(), 0444);
    ::chmod(dir.Path().c_str(), 0777);  // the folder allows the rename
    const auto attempt = [&target] { return ReplacementFile::WriteWhole(target, "new").error; };
    if (::geteuid() != 0) {
        EXPECT_EQ(attempt(), EACCES);
    } else {
        const pid_t child = ::fork();
        if (child == 0) {
            const bool user = ::setgid(65534) == 0 && ::setuid(65534) == 0;
            ::_exit(user ? attempt() : 255);
        }
        ASSERT_GT(child, 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), EACCES);
    }
    EXPECT_EQ(ReadFile(target), "old");
}

// The temporary name is short (a 255-byte name still saves) and the kernel
// gives a new file the umask's permissions.
TEST(ReplacementFileTest, ALongestNameSavesWithTheUmasksPermissions) {
    TempDir dir;
    const std::string target = dir.File(std::string(251, 'n') + ".qlx");
    const mode_t old = ::umask(027);
    const Status written = ReplacementFile::WriteWhole(target, "new");
    ::umask(old);
    ASSERT_EQ(written.error, 0) << written.message;
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(ReplacementFileTest, SweepRemovesOnlyLeftoversOfEndedProcesses) {
    TempDir dir;
    const pid_t child = testing::EndedProcessId();
    ASSERT_GT(child, 0);
    const std::string mine = ".quolix-" + std::to_string(::getpid()) + "-abcdef";
    const std::string ended = ".quolix-" + std::to_string(child) + "-abcdef";
    for (const std::string& name :
         {mine, ended, std::string("rec.qlx"), std::string(".quolix-x-abcdef")}) {
        WriteFile(dir.File(name), "x");
    }
    EXPECT_EQ(ReplacementFile::SweepStale(dir.Path()), 1);
    std::vector<std::string> names = Names(dir.Path());
    std::sort(names.begin(), names.end());
    std::vector<std::string> kept{".quolix-x-abcdef", mine, "rec.qlx"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(names, kept);
}

}  // namespace
}  // namespace quolix
