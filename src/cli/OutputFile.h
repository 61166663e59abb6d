#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "link/UniqueFd.h"

namespace quolix {

// An output file that appears whole or not at all: everything is written to
// a temporary file beside the target, which replaces the target only on
// Commit. Left uncommitted, the temporary file is removed and the target keeps
// what it held. The data reaches the disk before the rename, so even a power
// cut leaves the old file or the new one, never a part; the rename itself is
// not flushed, so a power cut may undo the last replacement.
class OutputFile {
  public:
    explicit OutputFile(std::string path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // False when the temporary file could not be made; Error() says why.
    bool Ok() const { return fd_.Valid(); }
    int Error() const { return error_; }
    const std::string& Path() const { return path_; }
    // Where a writer that needs a file name (an image or PDF writer) writes.
    const std::string& TempPath() const { return tempPath_; }

    bool Write(std::string_view bytes);
    // Flushes to the disk and renames over the target (through a symbolic
    // link, over the file it names). The file gets the target's permissions,
    // or what the umask allows for a new file.
    bool Commit();

    // Writes bytes to path in one go; 0 or the errno of the failure.
    static int WriteWhole(const std::string& path, std::string_view bytes);

    // The file a path names: through a symbolic link, the file it points to.
    static std::string ResolveTarget(const std::string& path);
    // The permissions a replacement of target gets: the target's own, or
    // what the umask allows for a new file.
    static mode_t ModeFor(const std::string& target);

  private:
    std::string path_;
    std::string target_;
    std::string tempPath_;
    UniqueFd fd_;
    int error_ = 0;
    bool committed_ = false;
};

}  // namespace quolix
