#include "settings/LineFile.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "unit/SettingsTempDir.h"

namespace quolix {
namespace {

using namespace std::string_literals;
using testing::ReadBytes;
using testing::SettingsTempDir;
using testing::WriteBytes;

class LineFileTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.Ok()); }

    std::string FileWith(const std::string& bytes) {
        const std::string path = dir_.File("lines.txt");
        WriteBytes(path, bytes);
        return path;
    }

    SettingsTempDir dir_;
};

int OpenDescriptorCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

// ---- cutting lines -----------------------------------------------------------

struct ReadCase {
    const char* name;
    std::string bytes;
    std::vector<std::pair<int, std::string>> reads;  // -1 pairs expect text untouched
};

TEST_F(LineFileTest, CutsLinesByTheTerminatorRules) {
    const std::string p256(256, 'p');
    const std::vector<ReadCase> cases = {
        {"CR LF ends lines", "abc\r\nde\r\n", {{3, "abc"}, {2, "de"}, {-1, ""}}},
        {"lone CR before a letter ends", "a\rb\r\n", {{1, "a"}, {1, "b"}, {-1, ""}}},
        {"lone LF before a letter ends", "a\nb\r\n", {{1, "a"}, {1, "b"}, {-1, ""}}},
        {"lone CR before TAB ends", "a\r\tb\r\n", {{1, "a"}, {2, "\tb"}, {-1, ""}}},
        {"lone CR before 0x7F ends", "a\r\x7f\r\n", {{1, "a"}, {1, "\x7f"}, {-1, ""}}},
        {"CR before a blank stays in the line", "a\r b\r\n", {{4, "a\r b"}, {-1, ""}}},
        {"CR before a lead byte stays in the line",
         "a\r\x83\x4e\r\n",
         {{4, "a\r\x83\x4e"}, {-1, ""}}},
        {"lone CR before '!' ends", "a\r!\r\n", {{1, "a"}, {1, "!"}, {-1, ""}}},
        {"CR before 0x80 stays in the line", "a\r\x80\r\n", {{3, "a\r\x80"}, {-1, ""}}},
        {"LF before a control byte stays in the line", "a\n\x01\r\n", {{3, "a\n\x01"}, {-1, ""}}},
        {"CR before CR stays in the line", "a\r\r\n", {{2, "a\r"}, {-1, ""}}},
        {"LF CR LF: the LF is text", "a\n\r\nb\r\n", {{2, "a\n"}, {1, "b"}, {-1, ""}}},
        {"FF ends a line", "x\fy\r\n", {{1, "x"}, {1, "y"}, {-1, ""}}},
        {"FF before CR LF", "x\f\r\n", {{1, "x"}, {0, ""}, {-1, ""}}},
        {"empty lines", "\r\n\r\n", {{0, ""}, {0, ""}, {-1, ""}}},
        {"empty file", "", {{-1, ""}, {-1, ""}}},
        {"last line without terminator", "abc\r\nde", {{3, "abc"}, {-1, ""}, {-1, ""}}},
        {"CR as the very last byte", "ab\r", {{-1, ""}, {-1, ""}}},
        {"LF as the very last byte", "ab\n", {{-1, ""}, {-1, ""}}},
        {"Ctrl-Z stops every later read",
         "ab\r\ncd\x1a"
         "\r\nef\r\n",
         {{2, "ab"}, {-1, ""}, {-1, ""}, {-1, ""}}},
        {"Ctrl-Z first", "\x1a\r\nab\r\n", {{-1, ""}, {-1, ""}}},
        {"300 characters come as 256 and 44",
         std::string(300, 'p') + "\r\n",
         {{256, p256}, {44, std::string(44, 'p')}, {-1, ""}}},
        {"exactly 256 characters, then an empty piece",
         p256 + "\r\n",
         {{256, p256}, {0, ""}, {-1, ""}}},
        {"NUL ends the text but not the count", "a\0b\r\nc\r\n"s, {{3, "a"}, {1, "c"}}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        LineFile file;
        ASSERT_EQ(file.Open(FileWith(c.bytes), LineFile::ReadMode), 1);
        for (const auto& [result, text] : c.reads) {
            std::string line = "untouched";
            EXPECT_EQ(file.ReadLine(line), result);
            EXPECT_EQ(line, result < 0 ? "untouched" : text);
        }
        EXPECT_EQ(file.Close(), 1);
    }
}

TEST_F(LineFileTest, ReadIntFollowsAtoiAndSaturates) {
    constexpr int32_t Max = std::numeric_limits<int32_t>::max();
    constexpr int32_t Min = std::numeric_limits<int32_t>::min();
    const struct {
        std::string bytes;
        int result;
        int32_t value;
    } cases[] = {
        {"42\r\n", 2, 42},
        {"\r\n", 0, 0},
        {"abc\r\n", 3, 0},
        {" -7x\r\n", 4, -7},
        {"", -1, 0},
        {"12\x1a", -1, 0},
        {"+15\r\n", 3, 15},
        {"\t 12\r\n", 4, 12},
        {"- 5\r\n", 3, 0},
        {"0x10\r\n", 4, 0},
        {"2147483647\r\n", 10, Max},
        {"2147483648\r\n", 10, Max},
        {"-2147483648\r\n", 11, Min},
        {"-2147483649\r\n", 11, Min},
        {"99999999999999999999\r\n", 20, Max},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        LineFile file;
        ASSERT_EQ(file.Open(FileWith(c.bytes), LineFile::ReadMode), 1);
        int32_t value = 99;
        EXPECT_EQ(file.ReadInt(value), c.result);
        EXPECT_EQ(value, c.value);
    }
}

// ---- writing -----------------------------------------------------------------

TEST_F(LineFileTest, WriteLineAppendsAtMost256BytesAndCrLf) {
    const std::string cp932 = "\x83\x4e\x83\x49\x83\x8a\x83\x62\x83\x4e\x83\x58";
    const struct {
        std::string text;
        int result;
        std::string bytes;
    } cases[] = {
        {"", 0, "\r\n"},
        {"abc", 3, "abc\r\n"},
        {cp932, 12, cp932 + "\r\n"},
        {std::string(300, 'w'), 256, std::string(256, 'w') + "\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string path = dir_.File("out.txt");
        LineFile file;
        ASSERT_EQ(file.Open(path, LineFile::WriteMode), 1);
        EXPECT_EQ(file.WriteLine(c.text), c.result);
        EXPECT_EQ(file.Close(), 1);
        EXPECT_EQ(ReadBytes(path), c.bytes);
    }
}

TEST_F(LineFileTest, WriteIntWritesDecimal) {
    const struct {
        int32_t value;
        int result;
        std::string bytes;
    } cases[] = {
        {-5, 2, "-5\r\n"},
        {0, 1, "0\r\n"},
        {std::numeric_limits<int32_t>::min(), 11, "-2147483648\r\n"},
        {std::numeric_limits<int32_t>::max(), 10, "2147483647\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const std::string path = dir_.File("out.txt");
        LineFile file;
        ASSERT_EQ(file.Open(path, LineFile::WriteMode), 1);
        EXPECT_EQ(file.WriteInt(c.value), c.result);
        EXPECT_EQ(file.Close(), 1);
        EXPECT_EQ(ReadBytes(path), c.bytes);
    }
}

// 259 lines of 250 bytes and CR LF are the first to reach capacity - 300.
constexpr int LineBytes = 250;
constexpr int LinesBeforeFlush = 258;

std::string NumberedLine(int i) {
    std::string line = std::to_string(i);
    line.resize(LineBytes, static_cast<char>('a' + i % 26));
    return line;
}

std::string NumberedLines(int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        bytes += NumberedLine(i) + "\r\n";
    }
    return bytes;
}

TEST_F(LineFileTest, BufferGoesToTheFileAtTheMargin) {
    const std::string path = dir_.File("big.txt");
    LineFile file;
    ASSERT_EQ(file.Open(path, LineFile::WriteMode), 1);
    for (int i = 0; i < LinesBeforeFlush; ++i) {
        ASSERT_EQ(file.WriteLine(NumberedLine(i)), LineBytes);
    }
    EXPECT_EQ(ReadBytes(path), "");
    ASSERT_EQ(file.WriteLine(NumberedLine(LinesBeforeFlush)), LineBytes);
    EXPECT_EQ(ReadBytes(path), NumberedLines(LinesBeforeFlush + 1));  // 65268 bytes
    for (int i = LinesBeforeFlush + 1; i < 300; ++i) {
        ASSERT_EQ(file.WriteLine(NumberedLine(i)), LineBytes);
    }
    EXPECT_EQ(file.Close(), 1);
    EXPECT_EQ(ReadBytes(path), NumberedLines(300));
}

TEST_F(LineFileTest, DestroyingAWritingObjectDropsWhatIsBuffered) {
    const std::string small = dir_.File("small.txt");
    const std::string big = dir_.File("big.txt");
    {
        LineFile file;
        ASSERT_EQ(file.Open(small, LineFile::WriteMode), 1);
        EXPECT_EQ(file.WriteLine("never written"), 13);
    }
    EXPECT_EQ(ReadBytes(small), "");
    {
        LineFile file;
        ASSERT_EQ(file.Open(big, LineFile::WriteMode), 1);
        for (int i = 0; i < LinesBeforeFlush + 2; ++i) {
            ASSERT_EQ(file.WriteLine(NumberedLine(i)), LineBytes);
        }
    }
    EXPECT_EQ(ReadBytes(big), NumberedLines(LinesBeforeFlush + 1));
}

TEST_F(LineFileTest, FailedWriteIsReportedAndLaterLinesNeverOverrunTheBuffer) {
    LineFile file;
    ASSERT_EQ(file.Open("/dev/full", LineFile::WriteMode), 1);
    for (int i = 0; i < LinesBeforeFlush; ++i) {
        ASSERT_EQ(file.WriteLine(NumberedLine(i)), LineBytes);
    }
    EXPECT_EQ(file.WriteLine(NumberedLine(LinesBeforeFlush)), -1);
    // The only caller stops here; going on must still stay inside the buffer
    // (AddressSanitizer watches the exact-size allocation).
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(file.WriteLine(std::string(300, 'x')), -1);
        ASSERT_EQ(file.WriteInt(i), -1);
    }
    EXPECT_EQ(file.Flush(), -1);
    EXPECT_EQ(file.Close(), 1);
    EXPECT_EQ(file.Close(), 0);
}

TEST_F(LineFileTest, WriteCutShortKeepsOnlyTheUnwrittenBytes) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a file size limit (setrlimit), which Windows does not have";
#else
    const std::string path = dir_.File("partial.txt");
    LineFile file;
    ASSERT_EQ(file.Open(path, LineFile::WriteMode), 1);
    {
        testing::FileSizeLimit limit(10000);
        for (int i = 0; i < LinesBeforeFlush; ++i) {
            ASSERT_EQ(file.WriteLine(NumberedLine(i)), LineBytes);
        }
        EXPECT_EQ(file.WriteLine(NumberedLine(LinesBeforeFlush)), -1);
        EXPECT_EQ(ReadBytes(path).size(), 10000u);
    }
    // With room again, the rest goes out once: nothing repeated, nothing lost.
    EXPECT_EQ(file.WriteLine(NumberedLine(LinesBeforeFlush + 1)), LineBytes);
    EXPECT_EQ(file.Close(), 1);
    EXPECT_EQ(ReadBytes(path), NumberedLines(LinesBeforeFlush + 2));
#endif
}

TEST_F(LineFileTest, FlushWritesWhatIsBufferedNow) {
    const std::string path = dir_.File("flush.txt");
    LineFile file;
    ASSERT_EQ(file.Open(path, LineFile::WriteMode), 1);
    EXPECT_EQ(file.WriteLine("one"), 3);
    EXPECT_EQ(file.Flush(), 1);
    EXPECT_EQ(ReadBytes(path), "one\r\n");
    EXPECT_EQ(file.WriteLine("two"), 3);
    EXPECT_EQ(file.Close(), 1);
    EXPECT_EQ(ReadBytes(path), "one\r\ntwo\r\n");
}

// ---- modes and opening -------------------------------------------------------

TEST_F(LineFileTest, OperationsOfTheWrongModeAreRefused) {
    const std::string path = FileWith("7\r\n");
    std::string text = "keep";
    int32_t value = 5;

    LineFile closed;
    EXPECT_EQ(closed.ReadLine(text), -1);
    EXPECT_EQ(closed.ReadInt(value), -1);
    EXPECT_EQ(closed.WriteLine("x"), -1);
    EXPECT_EQ(closed.WriteInt(1), -1);
    EXPECT_EQ(closed.Flush(), -1);

    LineFile reading;
    ASSERT_EQ(reading.Open(path, LineFile::ReadMode), 1);
    EXPECT_EQ(reading.WriteLine("x"), -1);
    EXPECT_EQ(reading.WriteInt(1), -1);
    EXPECT_EQ(reading.Flush(), -1);
    EXPECT_EQ(reading.ReadInt(value), 1);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(reading.Close(), 1);
    EXPECT_EQ(ReadBytes(path), "7\r\n");

    LineFile writing;
    ASSERT_EQ(writing.Open(path, LineFile::WriteMode), 1);
    EXPECT_EQ(writing.ReadLine(text), -1);
    EXPECT_EQ(writing.ReadInt(value), -1);
    EXPECT_EQ(writing.WriteInt(8), 1);
    EXPECT_EQ(writing.Close(), 1);
    EXPECT_EQ(ReadBytes(path), "8\r\n");

    EXPECT_EQ(text, "keep");
    EXPECT_EQ(value, 7);
}

TEST_F(LineFileTest, ModeBitTwoChoosesWriting) {
    const struct {
        int mode;
        int opened;
    } cases[] = {{0, LineFile::ReadMode},   {1, LineFile::ReadMode}, {2, LineFile::WriteMode},
                 {3, LineFile::WriteMode},  {5, LineFile::ReadMode}, {6, LineFile::WriteMode},
                 {-1, LineFile::WriteMode}, {-3, LineFile::ReadMode}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        const std::string path = FileWith("old\r\n");
        LineFile file;
        ASSERT_EQ(file.Open(path, c.mode), 1);
        EXPECT_EQ(file.Mode(), c.opened);
        EXPECT_EQ(ReadBytes(path), c.opened == LineFile::WriteMode ? "" : "old\r\n");
    }
}

TEST_F(LineFileTest, SecondOpenIsRefusedAndChangesNothing) {
    const std::string first = FileWith("a\r\nb\r\n");
    const std::string other = dir_.File("other.txt");

    LineFile reading;
    ASSERT_EQ(reading.Open(first, LineFile::ReadMode), 1);
    std::string line;
    EXPECT_EQ(reading.ReadLine(line), 1);
    EXPECT_EQ(reading.Open(other, LineFile::WriteMode), 0);
    EXPECT_EQ(reading.Open(first, LineFile::ReadMode), 0);
    EXPECT_FALSE(testing::Exists(other));
    EXPECT_EQ(reading.ReadLine(line), 1);
    EXPECT_EQ(line, "b");

    LineFile writing;
    ASSERT_EQ(writing.Open(other, LineFile::WriteMode), 1);
    EXPECT_EQ(writing.WriteLine("kept"), 4);
    EXPECT_EQ(writing.Open(first, LineFile::WriteMode), 0);
    EXPECT_EQ(ReadBytes(first), "a\r\nb\r\n");
    EXPECT_EQ(writing.Close(), 1);
    EXPECT_EQ(ReadBytes(other), "kept\r\n");
}

TEST_F(LineFileTest, FailedOpenLeavesTheObjectClosed) {
    const std::string missingDir = dir_.File("no-such-dir/file.txt");
    const std::string sparse = dir_.File("huge.bin");
    // Larger than any buffer the object may hold; sparse, so it costs no disk.
    WriteBytes(sparse, "");
    std::filesystem::resize_file(sparse, uintmax_t{3} << 30);
    const struct {
        const char* name;
        std::string path;
        int mode;
    } cases[] = {
        {"empty path, reading", "", LineFile::ReadMode},
        {"empty path, writing", "", LineFile::WriteMode},
        {"missing file", dir_.File("missing.txt"), LineFile::ReadMode},
        {"missing folder, writing", missingDir, LineFile::WriteMode},
        {"a folder cannot be read", dir_.Path(), LineFile::ReadMode},
        {"a folder cannot be written", dir_.Path(), LineFile::WriteMode},
        {"file too large to hold", sparse, LineFile::ReadMode},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LineFile file;
        EXPECT_EQ(file.Open(c.path, c.mode), 0);
        EXPECT_EQ(file.Mode(), 0);
        std::string line = "untouched";
        EXPECT_EQ(file.ReadLine(line), -1);
        EXPECT_EQ(file.Close(), 0);
        // A closed object can be opened again.
        EXPECT_EQ(file.Open(FileWith("ok\r\n"), LineFile::ReadMode), 1);
        EXPECT_EQ(file.ReadLine(line), 2);
    }
    EXPECT_FALSE(testing::Exists(dir_.File("missing.txt")));
}

TEST_F(LineFileTest, OpenForWritingEmptiesTheFileAtOnce) {
    const std::string path = FileWith("previous content\r\n");
    LineFile file;
    ASSERT_EQ(file.Open(path, LineFile::WriteMode), 1);
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_EQ(file.Close(), 1);
    EXPECT_EQ(ReadBytes(path), "");
}

TEST_F(LineFileTest, ReadingReleasesTheFileAtOnceWritingHoldsIt) {
    const std::string path = FileWith("a\r\n");
    const int before = OpenDescriptorCount();
    LineFile reading;
    ASSERT_EQ(reading.Open(path, LineFile::ReadMode), 1);
    EXPECT_EQ(OpenDescriptorCount(), before);
    LineFile writing;
    ASSERT_EQ(writing.Open(dir_.File("w.txt"), LineFile::WriteMode), 1);
    EXPECT_EQ(OpenDescriptorCount(), before + 1);
    EXPECT_EQ(writing.Close(), 1);
    EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST_F(LineFileTest, CloseReportsOnlyWhetherSomethingWasOpen) {
    for (const int mode : {LineFile::ReadMode, LineFile::WriteMode}) {
        SCOPED_TRACE(mode);
        LineFile file;
        EXPECT_EQ(file.Close(), 0);
        ASSERT_EQ(file.Open(FileWith("a\r\n"), mode), 1);
        EXPECT_EQ(file.Close(), 1);
        EXPECT_EQ(file.Close(), 0);
        EXPECT_EQ(file.Mode(), 0);
    }
}

}  // namespace
}  // namespace quolix
