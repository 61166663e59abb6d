#include "cli/OutputLock.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "base/FileSystem.h"
#include "base/ReplacementFile.h"

namespace quolix::cli {

namespace {

// Beside the file the saves replace (through a symbolic link, the file it
// names), under a name of fixed length whatever the output's length.
std::string LockPathFor(const std::string& output) {
    const std::string target = platform::ResolveLink(output);
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
    platform::FileInfo held;
    platform::FileInfo named;
    return platform::Inspect(fd, held) && platform::InspectPath(path, named) &&
           platform::SameIdentity(held, named);
}

}  // namespace

OutputLock::OutputLock(const std::string& output) : lockPath_(LockPathFor(output)) {
    // A holder that is just leaving removes the lock file it locked; a lock
    // taken on that removed file would bind nobody, so it is taken again.
    for (int attempt = 0; attempt < 10; ++attempt) {
        UniqueFd fd(platform::LockExclusive(lockPath_));
        if (!fd.Valid()) {
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
        platform::RemoveFile(lockPath_);
    }
}

}  // namespace quolix::cli
