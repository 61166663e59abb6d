#include "base/FileSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace quolix::platform {

namespace {

FileKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) {
        return FileKind::Regular;
    }
    return S_ISDIR(mode) ? FileKind::Directory : FileKind::Other;
}

void Fill(const struct stat& status, FileInfo& info) {
    info.kind = KindOf(status.st_mode);
    info.size = status.st_size < 0 ? 0 : static_cast<uint64_t>(status.st_size);
    info.volume = static_cast<uint64_t>(status.st_dev);
    info.index = static_cast<uint64_t>(status.st_ino);
}

}  // namespace

bool SameIdentity(const FileInfo& a, const FileInfo& b) {
    return a.volume == b.volume && a.index == b.index;
}

int OpenForReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
}

int OpenForWriting(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

// 0666, so that the kernel applies the umask (and a folder's default ACL)
// as for any new file; no process-wide umask juggling.
int CreateNew(const std::string& path) {
    return ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
}

int OpenFolder(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

int LockExclusive(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        return fd;
    }
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
}

ssize_t Write(int fd, const void* bytes, std::size_t size) {
    return ::write(fd, bytes, size);
}

bool Inspect(int fd, FileInfo& info) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return false;
    }
    Fill(status, info);
    return true;
}

bool InspectPath(const std::string& path, FileInfo& info) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return false;
    }
    Fill(status, info);
    return true;
}

bool SyncFile(int fd) {
    return ::fsync(fd) == 0;
}

bool RenameOver(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

std::string ResolveLink(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr) {
            return resolved;
        }
    }
    return path;
}

void KeepPermissions(int fd, const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        (void)::fchmod(fd, info.st_mode & 07777);
    }
}

// As the file system will judge the write, with the effective ids.
bool Writable(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool CanCreateIn(const std::string& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool SameFile(const std::string& a, const std::string& b) {
    FileInfo first;
    FileInfo second;
    return InspectPath(a, first) && InspectPath(b, second) && SameIdentity(first, second);
}

}  // namespace quolix::platform
