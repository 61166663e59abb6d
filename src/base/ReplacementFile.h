#pragma once

#include <sys/types.h>

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
// the umask allows, as if it had been created directly).
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
    bool Commit(Flush flush = Flush::Data);

    // Replaces path with bytes in one go. A failure carries the errno and the
    // C library's text for it.
    static Status WriteWhole(const std::string& path, std::string_view bytes,
                             Flush flush = Flush::Data);

  private:
    std::string path_;
    std::string target_;
    std::string tempPath_;
    UniqueFd fd_;
    int error_ = 0;
    bool committed_ = false;
};

}  // namespace quolix
