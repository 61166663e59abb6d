#include "framework/DocumentFile.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "acquisition/CQuolixDoc.h"
#include "base/UniqueFd.h"
#include "framework/Archive.h"

namespace quolix {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

Bytes Serialized(CQuolixDoc& doc) {
    Archive archive = Archive::ForStoring();
    doc.Serialize(archive);
    return archive.TakeBytes();
}

void FillRecording(CQuolixDoc& doc, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        doc.times[static_cast<size_t>(i)] = i * 2;
        doc.readings[static_cast<size_t>(i)] = 1234567 - i;
    }
    doc.count = count;
    doc.comments = {"\x8b\x4c\x98\x5e", "second", "", "fourth", "fifth"};
}

// A document that cannot be written or renewed, for the failure paths that a
// record file itself never takes.
class BrokenDoc : public CDocument {
  public:
    int OnNewDocument() override { return 0; }
    void Serialize(Archive& archive) override {
        archive.WriteInt32(1);
        archive.Fail(ArchiveError::BadValue);
    }
};

class DocumentFileTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quolix-docfile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }

    std::string PathOf(const std::string& name) const { return dir_ + "/" + name; }

    // Every name in the folder, which shows any temporary file left behind.
    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    std::string dir_;
};

// ---- Round trip --------------------------------------------------------

TEST_F(DocumentFileTest, SaveAsThenOpenRestoresTheRecordingAndNamesTheDocument) {
    CQuolixDoc doc;
    FillRecording(doc, 2100);
    const std::string path = PathOf("rec.qlx");
    const Status saved = docfile::SaveAs(doc, path);
    ASSERT_TRUE(saved.ok) << saved.message;
    EXPECT_TRUE(saved.message.empty());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(ReadBytes(path), Serialized(doc));
    EXPECT_EQ(Entries(), std::set<std::string>{"rec.qlx"});

    CQuolixDoc loaded;
    const Status opened = docfile::Open(loaded, path);
    ASSERT_TRUE(opened.ok) << opened.message;
    EXPECT_EQ(loaded.GetPathName(), path);
    EXPECT_EQ(loaded.count, 2100);
    EXPECT_EQ(loaded.times, doc.times);
    EXPECT_EQ(loaded.readings, doc.readings);
    EXPECT_EQ(loaded.comments, doc.comments);
}

TEST_F(DocumentFileTest, SaveReplacesTheNamedFileWhole) {
    const std::string path = PathOf("rec.qlx");
    WriteBytes(path, Bytes(5000, 0xAA));  // longer than what is saved
    CQuolixDoc doc;
    doc.Append(0, 1234567);
    doc.SetPathName(path);
    const Status result = docfile::Save(doc);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(ReadBytes(path).size(), 31u);
    EXPECT_EQ(ReadBytes(path), Serialized(doc));
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(Entries(), std::set<std::string>{"rec.qlx"});
}

TEST_F(DocumentFileTest, SavedFileKeepsExistingPermissionsOrFollowsTheUmask) {
    const std::string existing = PathOf("existing.qlx");
    WriteBytes(existing, {1});
    ASSERT_EQ(::chmod(existing.c_str(), 0640), 0);
    CQuolixDoc doc;
    ASSERT_TRUE(docfile::SaveAs(doc, existing).ok);
    struct stat info {};
    ASSERT_EQ(::stat(existing.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    const mode_t previous = ::umask(022);
    const std::string fresh = PathOf("fresh.qlx");
    const bool ok = docfile::SaveAs(doc, fresh).ok;
    ::umask(previous);
    ASSERT_TRUE(ok);
    ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);  // not mkstemp's 0600
}

TEST_F(DocumentFileTest, SaveThroughASymbolicLinkReplacesTheFileItPointsTo) {
    const std::string real = PathOf("real.qlx");
    const std::string link = PathOf("link.qlx");
    WriteBytes(real, {1, 2, 3});
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    CQuolixDoc doc;
    ASSERT_TRUE(docfile::SaveAs(doc, link).ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), Serialized(doc));
    EXPECT_EQ(doc.GetPathName(), link);
}

// ---- Open refuses what it cannot load ----------------------------------

struct OpenCase {
    const char* name;
    Bytes content;
    const char* message;  // UTF-8, after the file name
};

TEST_F(DocumentFileTest, UnloadableFileLeavesContentsAndNameAndSaysWhy) {
    CQuolixDoc empty;
    Bytes truncated = Serialized(empty);
    truncated.pop_back();
    Archive badCount = Archive::ForStoring();
    badCount.WriteString("Quolix V1.001");
    badCount.WriteInt32(2101);
    const OpenCase cases[] = {
        {"text.qlx", {'h', 'e', 'l', 'l', 'o', '\n'}, " は Quolix の記録ファイルではありません。"},
        {"other.qlx",
         {0x0D, 'Q', 'u', 'o', 'l', 'i', 'x', ' ', 'V', '2', '.', '0',
          '0',  '0', 0,   0,   0,   0,   0,   0,   0,   0,   0},
         " は Quolix の記録ファイルではありません。"},
        {"empty.qlx", {}, " を読み込めませんでした。ファイルが途中で終わっています。"},
        {"cut.qlx", truncated, " を読み込めませんでした。ファイルが途中で終わっています。"},
        {"count.qlx", badCount.Bytes(), " を読み込めませんでした。ファイルが壊れています。"},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = PathOf(c.name);
        WriteBytes(path, c.content);
        CQuolixDoc doc;
        FillRecording(doc, 3);
        doc.SetPathName("/old/name.qlx");
        const Status result = docfile::Open(doc, path);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, path + c.message);
        EXPECT_EQ(doc.GetPathName(), "/old/name.qlx");
        EXPECT_EQ(doc.count, 3);
        EXPECT_EQ(doc.readings[2], 1234565);
        EXPECT_EQ(doc.comments[3], "fourth");
    }
}

TEST_F(DocumentFileTest, FileThatCannotBeReadIsReportedWithTheReason) {
    const std::string fifo = PathOf("pipe.qlx");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = PathOf("folder.qlx");
    ASSERT_TRUE(fs::create_directory(folder));
    struct Case {
        std::string path;
        std::string reason;
    };
    const Case cases[] = {
        {PathOf("missing.qlx"), "(ファイルまたはフォルダーが見つかりません)"},
        {folder, "(ファイルではなくフォルダーです)"},
        {fifo, "(Invalid argument)"},  // refused, and the open does not hang
    };
    for (const Case& c : cases) {
        CQuolixDoc doc;
        doc.Append(1, 2);
        const Status result = docfile::Open(doc, c.path);
        EXPECT_FALSE(result.ok) << c.path;
        EXPECT_EQ(result.message, c.path + " を開けませんでした。\n" + c.reason);
        EXPECT_EQ(doc.count, 1);
        EXPECT_TRUE(doc.GetPathName().empty());
    }
}

// Opening a device node can act on it (/dev/ptmx allocates a terminal): a
// file that is not a regular file is refused without being opened.
TEST_F(DocumentFileTest, ANonRegularFileIsRefusedUnopened) {
    const std::string fifo = PathOf("pipe.qlx");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const UniqueFd watcher(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    ASSERT_TRUE(watcher.Valid());
    ASSERT_GE(::inotify_add_watch(watcher.Get(), fifo.c_str(), IN_OPEN), 0);
    CQuolixDoc doc;
    EXPECT_EQ(docfile::Open(doc, fifo).error, EINVAL);
    alignas(inotify_event) char events[4096];
    EXPECT_EQ(::read(watcher.Get(), events, sizeof events), -1);
    EXPECT_EQ(errno, EAGAIN);
    // The watch itself sees an open.
    const UniqueFd opened(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    EXPECT_GT(::read(watcher.Get(), events, sizeof events), 0);
}

std::vector<std::string>* saveCalls = nullptr;
int LoggedFsync(int fd) {
    saveCalls->push_back("fsync");
    return ::fsync(fd);
}
int LoggedRename(const char* from, const char* to) {
    saveCalls->push_back("rename");
    return ::rename(from, to);
}

// A save is on the disk when it returns: the data before the rename, the
// folder after it.
TEST_F(DocumentFileTest, SaveFlushesTheDataThenTheFolder) {
    std::vector<std::string> calls;
    saveCalls = &calls;
    const ReplacementFile::ScopedSystemCalls logged({::write, LoggedFsync, LoggedRename});
    CQuolixDoc doc;
    FillRecording(doc, 3);
    ASSERT_TRUE(docfile::SaveAs(doc, PathOf("rec.qlx")).ok);
    ASSERT_TRUE(docfile::Save(doc).ok);
    saveCalls = nullptr;
    EXPECT_EQ(calls,
              (std::vector<std::string>{"fsync", "rename", "fsync", "fsync", "rename", "fsync"}));
}

TEST_F(DocumentFileTest, FileAboveTheSizeLimitIsRefusedUnread) {
    const std::string big = PathOf("big.qlx");
    const std::string limit = PathOf("limit.qlx");
    // Sparse files: no disk space is used.
    for (const auto& [path, size] :
         {std::pair{big, docfile::MaxFileSize + 1}, std::pair{limit, docfile::MaxFileSize}}) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
        ::close(fd);
    }
    CQuolixDoc doc;
    Status result = docfile::Open(doc, big);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, big + " は大きすぎるため読み込めません。");
    // At the limit itself the file is read, and then found not to be ours.
    result = docfile::Open(doc, limit);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, limit + " は Quolix の記録ファイルではありません。");
}

TEST_F(DocumentFileTest, FileNameCp932CannotHoldIsKeptInTheMessage) {
    const std::string path = PathOf("\xF0\x9F\x98\x80.qlx");
    WriteBytes(path, {'x'});
    CQuolixDoc doc;
    const Status result = docfile::Open(doc, path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, path + " は Quolix の記録ファイルではありません。");
}

// ---- A failed save never damages the old file --------------------------

TEST_F(DocumentFileTest, SaveIntoAMissingFolderFailsAndNamesTheFile) {
    const std::string path = PathOf("no-such-folder/rec.qlx");
    CQuolixDoc doc;
    doc.SetPathName("/old/name.qlx");
    const Status result = docfile::SaveAs(doc, path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message,
              path + " に保存できませんでした。\n(ファイルまたはフォルダーが見つかりません)");
    EXPECT_EQ(result.error, ENOENT);
    EXPECT_EQ(doc.GetPathName(), "/old/name.qlx");
    EXPECT_TRUE(Entries().empty());
}

TEST_F(DocumentFileTest, SaveIntoAReadOnlyFolderLeavesTheOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    const std::string path = PathOf("rec.qlx");
    WriteBytes(path, {1, 2, 3});
    ASSERT_EQ(::chmod(dir_.c_str(), 0500), 0);
    CQuolixDoc doc;
    doc.SetPathName(path);
    const Status result = docfile::Save(doc);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, path + " に保存できませんでした。\n(アクセスが拒否されました)");
    EXPECT_EQ(result.error, EACCES);
    EXPECT_EQ(ReadBytes(path), (Bytes{1, 2, 3}));
    EXPECT_EQ(Entries(), std::set<std::string>{"rec.qlx"});
}

TEST_F(DocumentFileTest, RenameThatFailsRemovesTheTemporaryFile) {
    // A folder in the target's place: everything is written, then the rename
    // over it fails.
    const std::string path = PathOf("rec.qlx");
    ASSERT_TRUE(fs::create_directory(path));
    WriteBytes(path + "/inside", {9});
    CQuolixDoc doc;
    FillRecording(doc, 10);
    const Status result = docfile::SaveAs(doc, path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, path + " に保存できませんでした。\n(ファイルではなくフォルダーです)");
    EXPECT_EQ(result.error, EISDIR);
    EXPECT_EQ(Entries(), std::set<std::string>{"rec.qlx"});
    EXPECT_EQ(ReadBytes(path + "/inside"), Bytes{9});
    EXPECT_TRUE(doc.GetPathName().empty());
}

// Limits the size of any file this process writes, so that a save is cut off
// part-way through its data, as a full disk would cut it.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

TEST_F(DocumentFileTest, InterruptedWriteLeavesTheOldFileAndNoTemporaryFile) {
    const std::string path = PathOf("rec.qlx");
    CQuolixDoc old;
    old.Append(0, 42);
    ASSERT_TRUE(docfile::SaveAs(old, path).ok);
    const Bytes before = ReadBytes(path);

    CQuolixDoc doc;
    FillRecording(doc, 2100);  // about 17 KB, far past the limit below
    doc.SetPathName(path);
    Status result;
    {
        const FileSizeLimit limit(4096);
        result = docfile::Save(doc);
    }
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, path + " に保存できませんでした。\n(ファイルが大きすぎます)");
    EXPECT_EQ(result.error, EFBIG);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(Entries(), std::set<std::string>{"rec.qlx"});

    // Once the disk has room again the same save goes through.
    ASSERT_TRUE(docfile::Save(doc).ok);
    EXPECT_EQ(ReadBytes(path), Serialized(doc));
}

TEST_F(DocumentFileTest, DocumentThatCannotBeSerialisedWritesNothing) {
    const std::string path = PathOf("rec.qlx");
    WriteBytes(path, {7, 7});
    BrokenDoc doc;
    const Status result = docfile::SaveAs(doc, path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, path + " に保存できませんでした。");
    EXPECT_EQ(ReadBytes(path), (Bytes{7, 7}));
    EXPECT_EQ(Entries(), std::set<std::string>{"rec.qlx"});
    EXPECT_TRUE(doc.GetPathName().empty());
}

TEST_F(DocumentFileTest, SaveWithoutAFileNameFails) {
    CQuolixDoc doc;
    const std::string expected = "保存先のファイル名がありません。";
    Status result = docfile::Save(doc);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, expected);
    result = docfile::SaveAs(doc, "");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, expected);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(DocumentFileTest, ADocumentWithoutWordsForForeignFilesCallsThemDamaged) {
    class PlainDoc : public CDocument {
      public:
        void Serialize(Archive& archive) override { archive.Fail(ArchiveError::ForeignFormat); }
    };
    const std::string path = PathOf("plain.qlx");
    WriteBytes(path, {'x'});
    PlainDoc doc;
    const Status result = docfile::Open(doc, path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, path + " を読み込めませんでした。ファイルが壊れています。");
}

// ---- New ---------------------------------------------------------------

TEST_F(DocumentFileTest, NewEmptiesTheDocumentAndForgetsItsName) {
    CQuolixDoc doc;
    FillRecording(doc, 2040);
    doc.SetPathName(PathOf("rec.qlx"));
    const Status result = docfile::New(doc);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(doc.count, 0);
    EXPECT_TRUE(doc.comments[0].empty());
    EXPECT_TRUE(doc.GetPathName().empty());
}

TEST_F(DocumentFileTest, NewReportsADocumentThatCannotStartAgain) {
    BrokenDoc doc;
    const Status result = docfile::New(doc);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "新しい記録を始められませんでした。");
}

}  // namespace
}  // namespace quolix
