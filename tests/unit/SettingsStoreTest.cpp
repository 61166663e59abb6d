#include "settings/SettingsStore.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/ReplacementFile.h"
#include "unit/SettingsTempDir.h"

namespace quolix {
namespace {

using namespace std::string_literals;
using testing::ReadBytes;
using testing::SettingsTempDir;
using testing::WriteBytes;

const std::string Cp932Title = "\x83\x4e\x83\x49\x83\x8a\x83\x62\x83\x4e\x83\x58";

SettingsRecord Defaults() {
    SettingsRecord record;
    record.ApplyDefaults();
    return record;
}

// Every slot differs from its default and from every other slot.
SettingsRecord Sample() {
    SettingsRecord record;
    for (int slot = 0; slot < SettingsRecord::SlotCount; ++slot) {
        record.Int(slot) = (slot % 2 == 0 ? 1 : -1) * (1000 + 37 * slot);
    }
    record.Int(4) = std::numeric_limits<int32_t>::min();
    record.Int(29) = std::numeric_limits<int32_t>::max();
    record.Text(10) = Cp932Title;
    record.Text(11) = std::string(256, 't');
    record.Text(12) = "a";
    record.Text(13) = "\tTab and blanks ";
    std::string doubleBytes;
    for (int i = 0; i < 128; ++i) {
        doubleBytes += "\x83\x4e";
    }
    record.Text(14) = doubleBytes;
    return record;
}

std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line + "\r\n";
    }
    return bytes;
}

class SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.Ok()); }

    std::string path() const { return dir_.File("quolix.ini"); }

    // The lines a save of record writes.
    std::vector<std::string> SavedLines(const SettingsRecord& record) {
        const std::string file = dir_.File("reference.ini");
        SettingsStore store(file);
        EXPECT_TRUE(store.SaveFrom(record));
        return SplitLines(ReadBytes(file));
    }

    // Loads path() into a record that holds junk beforehand.
    SettingsRecord Load(bool* loaded = nullptr) {
        SettingsRecord record = Sample();
        record.Text(10) = "junk";
        SettingsStore store(path());
        const bool result = store.LoadInto(record);
        if (loaded != nullptr) {
            *loaded = result;
        }
        return record;
    }

    SettingsTempDir dir_;
};

// ---- the file's form ---------------------------------------------------------

TEST_F(SettingsStoreTest, DefaultsAreSavedAsTheseExactBytes) {
    SettingsStore store(path());
    ASSERT_TRUE(store.SaveFrom(Defaults()));
    EXPECT_EQ(ReadBytes(path()),
              "Quolix V1.001\r\n"
              "0\r\n2\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n"
              "Quolix Frequency Counter\r\n"
              "( Frequency Data Logger )\r\n"
              "default data\r\ndefault data\r\ndefault data\r\n"
              "0\r\n0\r\n0\r\n0\r\n0\r\n"
              "44\r\n44\r\n700\r\n550\r\n"
              "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST_F(SettingsStoreTest, SlotLinesInterleaveColoursAndWidths) {
    SettingsRecord record = Defaults();
    for (int slot = 0; slot < 10; ++slot) {
        record.Int(slot) = 100 + slot;
    }
    const std::vector<std::string> lines = SavedLines(record);
    ASSERT_EQ(lines.size(), 31u);
    const std::vector<std::string> expected = {"100", "105", "101", "106", "102",
                                               "107", "103", "108", "104", "109"};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.begin() + 11), expected);
}

// ---- round trips -------------------------------------------------------------

TEST_F(SettingsStoreTest, EverySlotComesBackUnchanged) {
    SettingsStore store(path());
    ASSERT_TRUE(store.SaveFrom(Sample()));
    bool loaded = false;
    EXPECT_TRUE(Load(&loaded) == Sample());
    EXPECT_TRUE(loaded);
    EXPECT_EQ(SplitLines(ReadBytes(path())).size(), 31u);
}

TEST_F(SettingsStoreTest, EmptyTextIsStoredAsOneBlankThatLoadsAgain) {
    SettingsRecord record = Sample();
    record.Text(SettingsRecord::Title1) = "";
    record.Text(SettingsRecord::Title2) = "";
    SettingsStore store(path());
    ASSERT_TRUE(store.SaveFrom(record));
    const std::vector<std::string> lines = SplitLines(ReadBytes(path()));
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[11], " ");
    EXPECT_EQ(lines[12], " ");

    bool loaded = false;
    SettingsRecord expected = record;
    expected.Text(SettingsRecord::Title1) = " ";
    expected.Text(SettingsRecord::Title2) = " ";
    EXPECT_TRUE(Load(&loaded) == expected);
    EXPECT_TRUE(loaded);
}

TEST_F(SettingsStoreTest, LineBreakingBytesInTextBecomeBlanks) {
    SettingsRecord record = Sample();
    record.Text(SettingsRecord::Title1) =
        "a\rb\nc\fd\x1a"
        "e\0f"s;
    record.Text(SettingsRecord::SpareText3) = "\r\n";
    SettingsStore store(path());
    ASSERT_TRUE(store.SaveFrom(record));

    bool loaded = false;
    SettingsRecord expected = record;
    expected.Text(SettingsRecord::Title1) = "a b c d e f";
    expected.Text(SettingsRecord::SpareText3) = "  ";
    EXPECT_TRUE(Load(&loaded) == expected);
    EXPECT_TRUE(loaded);
}

TEST_F(SettingsStoreTest, TextBeyond256BytesIsCutAndTheRestStillLoads) {
    SettingsRecord record = Sample();
    record.Text(SettingsRecord::Title1) = std::string(256, 'k') + "lost";
    SettingsStore store(path());
    ASSERT_TRUE(store.SaveFrom(record));
    SettingsRecord expected = record;
    expected.Text(SettingsRecord::Title1) = std::string(256, 'k');
    EXPECT_TRUE(Load() == expected);
}

// ---- files that load, files that give the defaults ---------------------------

TEST_F(SettingsStoreTest, NoFileGivesTheDefaults) {
    bool loaded = true;
    EXPECT_TRUE(Load(&loaded) == Defaults());
    EXPECT_FALSE(loaded);
}

TEST_F(SettingsStoreTest, NoPathGivesTheDefaultsAndSavesNothing) {
    SettingsStore store("");
    SettingsRecord record = Sample();
    EXPECT_FALSE(store.LoadInto(record));
    EXPECT_TRUE(record == Defaults());
    EXPECT_FALSE(store.SaveFrom(Sample()));
}

TEST_F(SettingsStoreTest, AnyBadLineGivesAllTheDefaults) {
    using Edit = std::function<void(std::vector<std::string>&)>;
    const struct {
        const char* name;
        Edit edit;
    } cases[] = {
        {"file ends after line 20", [](auto& lines) { lines.resize(20); }},
        {"file ends after the header", [](auto& lines) { lines.resize(1); }},
        {"empty file", [](auto& lines) { lines.clear(); }},
        {"empty line 12", [](auto& lines) { lines[11] = ""; }},
        {"empty integer line 31", [](auto& lines) { lines[30] = ""; }},
        {"header differs in one letter's case", [](auto& lines) { lines[0] = "Quolix v1.001"; }},
        {"header with a trailing blank", [](auto& lines) { lines[0] = "Quolix V1.001 "; }},
        {"Ctrl-Z in line 25", [](auto& lines) { lines[24] = "5\x1a"; }},
    };
    const std::vector<std::string> good = SavedLines(Sample());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines = good;
        c.edit(lines);
        WriteBytes(path(), JoinLines(lines));
        bool loaded = true;
        EXPECT_TRUE(Load(&loaded) == Defaults());
        EXPECT_FALSE(loaded);
    }
}

TEST_F(SettingsStoreTest, LastLineWithoutTerminatorGivesTheDefaults) {
    std::string bytes = JoinLines(SavedLines(Sample()));
    bytes.resize(bytes.size() - 2);
    WriteBytes(path(), bytes);
    EXPECT_TRUE(Load() == Defaults());
}

TEST_F(SettingsStoreTest, OddButPresentLinesLoad) {
    using Edit = std::function<void(std::vector<std::string>&, SettingsRecord&)>;
    const struct {
        const char* name;
        Edit edit;
    } cases[] = {
        {"letters in an integer line read as 0",
         [](auto& lines, auto& expected) {
             lines[2] = "abc";
             expected.Int(SettingsRecord::FrameWidth) = 0;
         }},
        {"lines after 31 are ignored",
         [](auto& lines, auto&) {
             lines.push_back("");
             lines.push_back("anything\x1a");
         }},
        {"an over-long text line keeps its first 256 bytes",
         [](auto& lines, auto& expected) {
             lines[11] = std::string(300, 'L');
             expected.Text(SettingsRecord::Title1) = std::string(256, 'L');
         }},
        {"an over-long integer line keeps its value",
         [](auto& lines, auto& expected) {
             lines[1] = "12" + std::string(600, ' ');
             expected.Int(SettingsRecord::FrameColour) = 12;
         }},
        {"a line of one blank is a text of one blank",
         [](auto& lines, auto& expected) {
             lines[12] = " ";
             expected.Text(SettingsRecord::Title2) = " ";
         }},
    };
    const std::vector<std::string> good = SavedLines(Sample());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines = good;
        SettingsRecord expected = Sample();
        c.edit(lines, expected);
        WriteBytes(path(), JoinLines(lines));
        bool loaded = false;
        EXPECT_TRUE(Load(&loaded) == expected);
        EXPECT_TRUE(loaded);
    }
}

// ---- saves that fail ---------------------------------------------------------

TEST_F(SettingsStoreTest, SaveIntoAMissingFolderWritesNothing) {
    const std::string file = dir_.File("no-such-folder/quolix.ini");
    SettingsStore store(file);
    EXPECT_FALSE(store.SaveFrom(Sample()));
    EXPECT_FALSE(testing::Exists(file));
}

TEST_F(SettingsStoreTest, SaveThatCannotOpenTheFileLeavesItIntact) {
    WriteBytes(path(), "previous\r\n");
    ASSERT_EQ(::chmod(path().c_str(), 0444), 0);
    ASSERT_EQ(::chmod(dir_.Path().c_str(), 0755), 0);
    SettingsStore store(path());
    bool saved = true;
    if (::geteuid() == 0) {
        // Root may write any file; make the attempt as an ordinary user.
        if (::seteuid(65534) != 0) {
            GTEST_SKIP() << "cannot act as an ordinary user";
        }
        saved = store.SaveFrom(Sample());
        ASSERT_EQ(::seteuid(0), 0);
    } else {
        saved = store.SaveFrom(Sample());
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadBytes(path()), "previous\r\n");
}

TEST_F(SettingsStoreTest, SaveOverSomethingThatIsNoFileLeavesItAlone) {
    // Renaming over a device (as root) would replace it with a file.
    SettingsStore store("/dev/full");
    EXPECT_FALSE(store.SaveFrom(Sample()));
    EXPECT_EQ(store.SaveFailureMessage(),
              "/dev/full に設定を保存できませんでした。\n(通常のファイルではありません)");
    struct stat info {};
    ASSERT_EQ(::stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

// The disk fills part way: the previous file stays whole and loads, the
// failure names the file and the reason, and no temporary file is left.
TEST_F(SettingsStoreTest, SaveCutShortKeepsThePreviousFile) {
    SettingsRecord previous = Sample();
    previous.Text(SettingsRecord::Title1) = "previous";
    ASSERT_TRUE(SettingsStore(path()).SaveFrom(previous));
    const std::string before = ReadBytes(path());
    SettingsStore store(path());
    {
        testing::FileSizeLimit limit(100);
        EXPECT_FALSE(store.SaveFrom(Sample()));
    }
    EXPECT_EQ(store.SaveError(), EFBIG);
    EXPECT_EQ(store.SaveFailureMessage(),
              path() + " に設定を保存できませんでした。\n(ファイルが大きすぎます)");
    EXPECT_EQ(ReadBytes(path()), before);
    EXPECT_TRUE(Load() == previous);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

// What a save asks of the system once the file is written: the data flushed,
// then the rename. A flush or rename that fails fails the save, naming the
// reason, and keeps the previous file.
std::vector<std::string>* seenCalls = nullptr;
std::string failingCall;

bool Seen(const char* call) {
    seenCalls->push_back(call);
    errno = EIO;
    return failingCall != call;
}
int SeenFsync(int fd) {
    return Seen("fsync") ? ::fsync(fd) : -1;
}
int SeenRename(const char* from, const char* to) {
    return Seen("rename") ? ::rename(from, to) : -1;
}

TEST_F(SettingsStoreTest, SaveFlushesTheDataBeforeTheRenameAndReportsEitherFailing) {
    std::vector<std::string> calls;
    seenCalls = &calls;
    const ReplacementFile::ScopedSystemCalls scoped({::write, SeenFsync, SeenRename});
    for (const std::string call : {"", "fsync", "rename"}) {
        SCOPED_TRACE(call);
        WriteBytes(path(), "previous\r\n");
        calls.clear();
        failingCall = call;
        SettingsStore store(path());
        EXPECT_EQ(store.SaveFrom(Sample()), call.empty());
        const std::vector<std::string> expected = call == "fsync"
                                                      ? std::vector<std::string>{"fsync"}
                                                      : std::vector<std::string>{"fsync", "rename"};
        EXPECT_EQ(calls, expected);
        if (!call.empty()) {
            EXPECT_EQ(store.SaveFailureMessage(),
                      path() + " に設定を保存できませんでした。\n(入出力エラーが発生しました)");
            EXPECT_EQ(ReadBytes(path()), "previous\r\n");
        }
    }
    seenCalls = nullptr;
}

// A save killed part way (here by the signal of a full disk, in a child
// process) leaves the previous file whole.
TEST_F(SettingsStoreTest, SaveKilledPartWayKeepsThePreviousFile) {
    SettingsRecord previous = Sample();
    previous.Text(SettingsRecord::Title1) = "previous";
    ASSERT_TRUE(SettingsStore(path()).SaveFrom(previous));
    const std::string before = ReadBytes(path());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        SettingsStore(path()).SaveFrom(Sample());
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child's save was not cut short";
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_EQ(ReadBytes(path()), before);
}

// Anything but a regular file of at most 64 KiB gives the defaults, without
// waiting: a FIFO with no writer would block an ordinary open for good, so each
// load runs in a child that an alarm ends if it blocks.
TEST_F(SettingsStoreTest, FifoFolderDeviceAndOversizeGiveTheDefaultsAtOnce) {
    const std::string fifo = dir_.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir_.File("folder.ini");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    // A good file padded past 64 KiB with lines a load would ignore.
    std::string padded = JoinLines(SavedLines(Sample()));
    padded.resize(65537, '\n');
    const std::string oversize = dir_.File("oversize.ini");
    WriteBytes(oversize, padded);
    for (const std::string& file : {fifo, folder, std::string("/dev/zero"), oversize}) {
        SCOPED_TRACE(file);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::alarm(20);
            SettingsRecord record = Sample();
            const bool loaded = SettingsStore(file).LoadInto(record);
            ::_exit(!loaded && record == Defaults() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status)) << "the load blocked";
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    // A file of exactly 64 KiB still loads.
    padded.resize(65536);
    WriteBytes(path(), padded);
    bool loaded = false;
    EXPECT_TRUE(Load(&loaded) == Sample());
    EXPECT_TRUE(loaded);
}

// ---- where the file lives ----------------------------------------------------

TEST(SettingsStorePathTest, PathIsTheFileSavesGoTo) {
    EXPECT_EQ(SettingsStore("/x/y.ini").Path(), "/x/y.ini");
    EXPECT_EQ(SettingsStore(SettingsLocation{"/home/u/.config/quolix/quolix.ini", "/x/y.ini", true})
                  .Path(),
              "/home/u/.config/quolix/quolix.ini");
}

}  // namespace
}  // namespace quolix
