#pragma once

#include <string>
#include <string_view>

#include "link/UniqueFd.h"

namespace quolix {

// An output file that appears whole or not at all: everything is written to
// a temporary file beside the target, which replaces the target only on
// Commit. Left uncommitted, the temporary file is removed and the target keeps
// what it held.
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
    // Flushes to the disk and renames over the target. The file gets the
    // target's permissions, or what the umask allows for a new file.
    bool Commit();

    // Writes bytes to path in one go; 0 or the errno of the failure.
    static int WriteWhole(const std::string& path, std::string_view bytes);

  private:
    std::string path_;
    std::string tempPath_;
    UniqueFd fd_;
    int error_ = 0;
    bool committed_ = false;
};

}  // namespace quolix
