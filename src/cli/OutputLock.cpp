#include "cli/OutputLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "base/ReplacementFile.h"

namespace quolix::cli {

namespace {

// Beside the file the saves replace (through a symbolic link, the file it
// names), under a name of fixed length whatever the output's length.
std::string LockPathFor(const std::string& output) {
    std::string target = output;
    struct stat info {};
    char resolved[PATH_MAX];
    if (::lstat(output.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
        ::realpath(output.c_str(), resolved) != nullptr) {
        target = resolved;
    }
    const std::string folder = ReplacementFile::FolderOf(target);
    const std::size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(hash));
    return folder + "/.quolix-lock-" + suffix;
}

bool SameFile(int fd, const std::string& path) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

OutputLock::OutputLock(const std::string& output) : lockPath_(LockPathFor(output)) {
    // A holder that is just leaving removes the lock file it locked; a lock
    // taken on that removed file would bind nobody, so it is taken again.
    for (int attempt = 0; attempt < 10; ++attempt) {
        UniqueFd fd(::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!fd.Valid()) {
            error_ = errno;
            return;
        }
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
            error_ = errno;
            return;
        }
        if (SameFile(fd.Get(), lockPath_)) {
            fd_ = std::move(fd);
            error_ = 0;
            return;
        }
    }
    error_ = EAGAIN;
}

OutputLock::~OutputLock() {
    if (fd_.Valid()) {
        ::unlink(lockPath_.c_str());
    }
}

}  // namespace quolix::cli
