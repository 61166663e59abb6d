#pragma once

#include <string>
#include <string_view>

#include "base/Status.h"
#include "base/UniqueFd.h"

namespace quolix {

// A file that is replaced whole or not at all: everything is written to a
// temporary file beside the target, which is renamed over the target only on
// Commit. Left uncommitted, the temporary file is removed and the target keeps
// what it held. Through a symbolic link the file it names is replaced, not the
// link; the replacement keeps the target's permissions (a new file gets what
// the umask allows, as if it had been created directly). A target that exists
// but may not be written is refused (EACCES), as a direct write would be.
class ReplacementFile {
  public:
    // How much of a replacement must be on the disk before Commit returns.
    enum class Flush {
        // A killed process leaves the old file or the new one. After a power
        // cut that holds only where the file system orders a rename after the
        // data it replaces (ext4 and btrfs do).
        None,
        // The new contents reach the disk before the rename.
        Data,
        // And the rename itself is made durable (best effort).
        DataAndFolder,
    };

    // The system calls whose results decide whether a replacement is whole;
    // tests put failing or recording ones in their place.
    struct SystemCalls {
        ssize_t (*write)(int fd, const void* bytes, size_t size);
        int (*fsync)(int fd);
        int (*rename)(const char* from, const char* to);
    };
    // Replaces the calls with its own copy of calls for its lifetime (one at
    // a time, tests only).
    class ScopedSystemCalls {
      public:
        explicit ScopedSystemCalls(const SystemCalls& calls);
        ~ScopedSystemCalls();
        ScopedSystemCalls(const ScopedSystemCalls&) = delete;
        ScopedSystemCalls& operator=(const ScopedSystemCalls&) = delete;

      private:
        SystemCalls calls_;
    };

    explicit ReplacementFile(std::string path);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // False when the temporary file could not be made; Error() says why.
    bool Ok() const { return fd_.Valid(); }
    int Error() const { return error_; }
    const std::string& Path() const { return path_; }
    // Where a writer that needs a file name (an image or PDF writer) writes.
    const std::string& TempPath() const { return tempPath_; }

    bool Write(std::string_view bytes);
    // Flushes what was written so far to the disk, where a file system that
    // allocates late says it is full.
    bool Sync();
    bool Commit(Flush flush = Flush::Data);

    // Replaces path with bytes in one go. A failure carries the errno and the
    // C library's text for it.
    static Status WriteWhole(const std::string& path, std::string_view bytes,
                             Flush flush = Flush::Data);

    // Removes from the folder the temporary files that a process of ours on
    // this machine left behind when it was killed before its Commit. Those of
    // running processes are kept. Returns how many were removed.
    static int SweepStale(const std::string& folder);
    // The folder of a path as the temporary file sees it ("." when none).
    static std::string FolderOf(const std::string& path);

  private:
    std::string path_;
    std::string target_;
    std::string tempPath_;
    UniqueFd fd_;
    int error_ = 0;
    bool committed_ = false;
};

}  // namespace quolix
