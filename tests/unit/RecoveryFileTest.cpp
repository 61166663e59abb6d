#include "framework/RecoveryFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "acquisition/CQuolixDoc.h"
#include "base/ReplacementFile.h"
#include "framework/DocumentFile.h"
#include "unit/SettingsTempDir.h"

namespace quolix {
namespace {

using TempDir = testing::SettingsTempDir;

int fsyncs = 0;
int CountedFsync(int fd) {
    ++fsyncs;
    return ::fsync(fd);
}

int32_t RecoveredCount(const std::string& path) {
    CQuolixDoc copy;
    return RecoveryFile::Open(copy, path).ok ? copy.count : -1;
}

int32_t FlushedCount(const std::string& path) {
    CQuolixDoc copy;
    return docfile::Open(copy, path).ok ? copy.count : -1;
}

// The copy follows the document at each change, with comments and samples;
// the flushed copy is replaced at most once a minute, a newer copy that is
// not whole is passed over, and both go when the document is clean.
TEST(RecoveryFileTest, TheCopyFollowsTheDocumentAndIsFlushedOnceAMinute) {
    TempDir dir;
    const std::string folder = dir.File("state/quolix");
    int64_t now = 1000;
    RecoveryFile recovery(folder, [&now] { return now; });
    const std::string& path = recovery.Path();
    EXPECT_EQ(path, folder + "/recovery-" + std::to_string(::getpid()) + ".qlx");
    const ReplacementFile::ScopedSystemCalls counted({::write, CountedFsync, ::rename});
    fsyncs = 0;

    CQuolixDoc doc;
    ASSERT_TRUE(recovery.Update(doc).ok);
    EXPECT_FALSE(testing::Exists(path));  // clean: nothing to keep
    CQuolixDoc::Comments comments{"a", "b", "c", "d", "e"};
    doc.SetComments(comments);
    // Seconds of samples arriving: flushed at the first and after 60 s only.
    for (int32_t t = 0; t <= 120; ++t) {
        doc.Append(t, 5000 + t);
        now = 1000 + t;
        ASSERT_TRUE(recovery.Update(doc).ok) << t;
        ASSERT_TRUE(recovery.Update(doc).ok) << t;  // unchanged: not written again
        ASSERT_EQ(RecoveredCount(path), t + 1) << t;
        ASSERT_EQ(FlushedCount(path), t / 60 * 60 + 1) << t;
    }
    EXPECT_EQ(fsyncs, 3);
    doc.Append(121, 5121);
    doc.Append(122, 5122);
    ASSERT_TRUE(recovery.Update(doc).ok);
    CQuolixDoc copy;
    ASSERT_TRUE(RecoveryFile::Open(copy, path).ok);
    EXPECT_EQ(copy.count, 123);
    EXPECT_EQ(copy.readings[122], 5122);
    EXPECT_EQ(copy.comments, comments);
    // A power cut tore the newer copy: one changed byte, or its end missing.
    const std::string newer = testing::ReadBytes(RecoveryFile::NewerPath(path));
    std::string changed = newer;
    changed[changed.size() - 3] ^= 1;
    for (const std::string& torn : {changed, newer.substr(0, newer.size() - 1)}) {
        testing::WriteBytes(RecoveryFile::NewerPath(path), torn);
        EXPECT_EQ(RecoveredCount(path), 121);
    }
    // Someone clears the state folder while the recording goes on.
    std::filesystem::remove_all(dir.File("state"));
    doc.Append(123, 5123);
    ASSERT_TRUE(recovery.Update(doc).ok);
    EXPECT_EQ(RecoveredCount(path), 124);

    doc.SetModifiedFlag(false);
    ASSERT_TRUE(recovery.Update(doc).ok);
    EXPECT_FALSE(testing::Exists(path));
    EXPECT_FALSE(testing::Exists(RecoveryFile::NewerPath(path)));
}

TEST(RecoveryFileTest, LeftoversAreThoseOfEndedProcessesAndADamagedOneIsMovedAside) {
    TempDir dir;
    const pid_t child = testing::EndedProcessId();
    ASSERT_GT(child, 0);
    const std::string ended = dir.File("recovery-" + std::to_string(child) + ".qlx");
    const std::string running = dir.File("recovery-1.qlx");  // init runs
    for (const std::string& path :
         {ended, running, dir.File("recovery-x.qlx"), RecoveryFile::NewerPath(ended)}) {
        testing::WriteBytes(path, "damaged");
    }
    EXPECT_EQ(RecoveryFile::Leftovers(dir.Path()), std::vector<std::string>{ended});
    ASSERT_TRUE(RecoveryFile::MoveAside(ended).ok);
    EXPECT_TRUE(RecoveryFile::Leftovers(dir.Path()).empty());
    EXPECT_EQ(testing::ReadBytes(ended + ".damaged"), "damaged");
    EXPECT_EQ(testing::ReadBytes(RecoveryFile::NewerPath(ended) + ".damaged"), "damaged");
}

// A copy under this process's number from before a restart is not ours to
// remove: it waits for its question.
TEST(RecoveryFileTest, ACopyNotWrittenByThisObjectIsNeverRemoved) {
    TempDir dir;
    RecoveryFile recovery(dir.Path());
    testing::WriteBytes(recovery.Path(), "from before");
    CQuolixDoc doc;
    ASSERT_TRUE(recovery.Update(doc).ok);
    recovery.Remove();
    EXPECT_EQ(testing::ReadBytes(recovery.Path()), "from before");
    EXPECT_EQ(RecoveryFile::Leftovers(dir.Path()), std::vector<std::string>{recovery.Path()});
}

}  // namespace
}  // namespace quolix
