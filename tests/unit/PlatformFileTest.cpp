// What the file layer promises on every system it is built for; the same
// tests run on Linux and, under wine, on Windows.

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "base/FileSystem.h"
#include "base/MonotonicClock.h"
#include "base/ReplacementFile.h"
#include "base/UniqueFd.h"
#include "unit/SettingsTempDir.h"

namespace quolix {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

// Every byte a text mode would change: CR LF, a lone LF, 0x1A, and NUL.
const std::string Binary = std::string(
                               "a\r\nb\nc\x1A"
                               "d\0e",
                               9) +
                           "\xFF";

std::string ReadThroughLayer(const std::string& path) {
    const UniqueFd fd(platform::OpenForReading(path));
    std::string bytes;
    char buffer[64];
    for (int reads = 0; fd.Valid() && reads < 100; ++reads) {
        const auto got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

class PlatformFileTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.Ok()); }
    int Entries() const {
        int entries = 0;
        for (auto it = std::filesystem::directory_iterator(dir_.Path());
             it != std::filesystem::directory_iterator() && entries < 100; ++it) {
            ++entries;
        }
        return entries;
    }
    testing::SettingsTempDir dir_;
};

// A second save goes over the first (rename over an existing file), and the
// bytes arrive unchanged under a name that is not ASCII.
TEST_F(PlatformFileTest, ReplacementsOverAnExistingFileKeepEveryByte) {
    const std::string path = dir_.File("記録 ﾃｽﾄ.qlx");
    ASSERT_TRUE(ReplacementFile::WriteWhole(path, "first, and longer than the next").ok);
    const Status second = ReplacementFile::WriteWhole(path, Binary);
    ASSERT_TRUE(second.ok) << second.message;
    EXPECT_EQ(ReadThroughLayer(path), Binary);
    platform::FileInfo info;
    ASSERT_TRUE(platform::InspectPath(path, info));
    EXPECT_EQ(info.kind, platform::FileKind::Regular);
    EXPECT_EQ(info.size, Binary.size());
    EXPECT_EQ(Entries(), 1);
    {
        // Given up without a commit: its temporary goes, the file stays.
        ReplacementFile abandoned(path);
        ASSERT_TRUE(abandoned.Ok());
        ASSERT_TRUE(abandoned.Write("never committed"));
    }
    EXPECT_EQ(ReadThroughLayer(path), Binary);
    EXPECT_EQ(Entries(), 1);
}

TEST_F(PlatformFileTest, SameFileKnowsNamesOfOneFileFromTwoFiles) {
    const std::string one = dir_.File("one.qlx");
    const std::string other = dir_.File("other.qlx");
    const std::string hardLink = dir_.File("again.qlx");
    WriteBytes(one, "same bytes");
    WriteBytes(other, "same bytes");
    std::filesystem::create_hard_link(one, hardLink);
    EXPECT_TRUE(platform::SameFile(one, one));
    EXPECT_TRUE(platform::SameFile(one, dir_.Path() + "/./one.qlx"));
    EXPECT_TRUE(platform::SameFile(one, hardLink));
    EXPECT_FALSE(platform::SameFile(one, other));
    EXPECT_FALSE(platform::SameFile(one, dir_.File("missing.qlx")));
}

TEST_F(PlatformFileTest, AFolderIsNoRegularFile) {
    platform::FileInfo info;
    ASSERT_TRUE(platform::InspectPath(dir_.Path(), info));
    EXPECT_EQ(info.kind, platform::FileKind::Directory);
    EXPECT_FALSE(platform::InspectPath(dir_.File("missing"), info));
    EXPECT_EQ(errno, ENOENT);
}

// Windows refuses to move a file over one that another program holds open;
// the save must then fail and leave the old file as it was.
TEST_F(PlatformFileTest, ReplacingAFileHeldOpenElsewhereFailsAndKeepsIt) {
#ifndef _WIN32
    GTEST_SKIP() << "POSIX renames over an open file; its holder keeps the old contents";
#else
    const std::string path = dir_.File("held.qlx");
    WriteBytes(path, "old");
    std::ifstream holder(path, std::ios::binary);
    ASSERT_TRUE(holder.is_open());
    const Status replaced = ReplacementFile::WriteWhole(path, "new");
    EXPECT_FALSE(replaced.ok);
    EXPECT_NE(replaced.error, 0);
    EXPECT_FALSE(replaced.message.empty());
    holder.close();
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(Entries(), 1);
#endif
}

// A wait that returned at once (a sleep the system refuses) would make the
// recording loop spin; it returns only once the deadline has passed.
TEST(MonotonicClockTest, SleepUntilReturnsOnlyAfterTheDeadline) {
    for (int i = 0; i < 3; ++i) {
        const int64_t deadline = platform::MonotonicNowNs() + 20'000'000;
        EXPECT_TRUE(platform::SleepUntil(deadline));
        EXPECT_GE(platform::MonotonicNowNs(), deadline);
    }
    EXPECT_TRUE(platform::SleepUntil(platform::MonotonicNowNs() - 1));
}

}  // namespace
}  // namespace quolix
