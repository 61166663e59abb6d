#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quolix::fuzz {

// A file that lives in memory only, reachable by a path like any other, so
// that the file-reading code under test runs as it does on a disk without the
// cost (or the leftovers) of real files on every input.
class MemoryFile {
  public:
    MemoryFile();
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    const std::string& Path() const { return path_; }
    // Makes the file hold exactly these bytes.
    void Replace(const uint8_t* data, size_t size);

  private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace quolix::fuzz
