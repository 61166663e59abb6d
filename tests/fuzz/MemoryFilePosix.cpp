#include "fuzz/MemoryFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include "fuzz/FuzzCheck.h"

namespace quolix::fuzz {

MemoryFile::MemoryFile() : fd_(::memfd_create("quolix-fuzz", MFD_CLOEXEC)) {
    Require(fd_ >= 0, "the harness can make a file in memory");
    // Opening this path opens the file itself, with the flags the opener
    // chooses, just as a path on a disk would.
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void MemoryFile::Replace(const uint8_t* data, size_t size) {
    Require(::ftruncate(fd_, 0) == 0, "the harness can empty its file in memory");
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
        Require(n > 0, "the harness can fill its file in memory");
        done += static_cast<size_t>(n);
    }
}

}  // namespace quolix::fuzz
