#include "base/ReplacementFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <random>

#include "base/IntegerText.h"
#include "base/SystemErrorText.h"

namespace quolix {

namespace {

constexpr ReplacementFile::SystemCalls RealCalls{::write, ::fsync, ::rename};
const ReplacementFile::SystemCalls* calls = &RealCalls;

// ".quolix-<pid>-<6 letters>": short, so that a target whose name is at the
// file system's limit still gets a temporary beside it, and naming its
// process, so that a leftover can be told from a save in progress.
constexpr std::string_view TempPrefix = ".quolix-";

std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr) {
            return resolved;
        }
    }
    return path;
}

std::string RandomLetters() {
    static constexpr std::string_view Letters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, Letters.size() - 1);
    std::string letters(6, 'a');
    for (char& letter : letters) {
        letter = Letters[pick(generator)];
    }
    return letters;
}

// Created with 0666 so that the kernel applies the umask (and a folder's
// default ACL) as for any new file; no process-wide umask juggling.
UniqueFd CreateTemporary(const std::string& folder, std::string& tempPath) {
    const std::string stem =
        folder + "/" + std::string(TempPrefix) + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = stem + RandomLetters();
        UniqueFd fd(
            ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
        if (fd.Valid() || errno != EEXIST) {
            if (fd.Valid()) {
                tempPath = std::move(candidate);
            }
            return fd;
        }
    }
    errno = EEXIST;
    return UniqueFd{};
}

// The process a temporary name belongs to, or 0 when it is not one of ours.
pid_t OwnerOf(std::string_view name) {
    if (!name.starts_with(TempPrefix)) {
        return 0;
    }
    name.remove_prefix(TempPrefix.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos || name.size() - dash - 1 != 6) {
        return 0;
    }
    long long pid = 0;
    if (!ParseInteger(name.substr(0, dash), 1, INT_MAX, pid)) {
        return 0;
    }
    return static_cast<pid_t>(pid);
}

}  // namespace

ReplacementFile::ScopedSystemCalls::ScopedSystemCalls(const SystemCalls& replacement)
    : calls_(replacement) {
    calls = &calls_;
}

ReplacementFile::ScopedSystemCalls::~ScopedSystemCalls() {
    calls = &RealCalls;
}

std::string ReplacementFile::FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

ReplacementFile::ReplacementFile(std::string path)
    : path_(std::move(path)), target_(ResolveTarget(path_)) {
    struct stat info {};
    if (::stat(target_.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            error_ = EISDIR;
            return;
        }
        // The rename needs only the folder's permission; a file the user
        // made read-only must stay as it is.
        if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) {
            error_ = errno;
            return;
        }
    }
    fd_ = CreateTemporary(FolderOf(target_), tempPath_);
    if (!fd_.Valid()) {
        error_ = errno;
    }
}

ReplacementFile::~ReplacementFile() {
    if (!committed_ && !tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
    }
}

bool ReplacementFile::Write(std::string_view bytes) {
    if (!fd_.Valid()) {
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t written = calls->write(fd_.Get(), bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            error_ = errno;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool ReplacementFile::Sync() {
    if (!fd_.Valid()) {
        return false;
    }
    if (calls->fsync(fd_.Get()) != 0) {
        error_ = errno;
        return false;
    }
    return true;
}

bool ReplacementFile::Commit(Flush flush) {
    if (!fd_.Valid() || committed_) {
        return false;
    }
    struct stat info {};
    if (::stat(target_.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        // Permissions are a courtesy; a file system without them still saves.
        (void)::fchmod(fd_.Get(), info.st_mode & 07777);
    }
    if (flush != Flush::None && calls->fsync(fd_.Get()) != 0) {
        error_ = errno;
        return false;
    }
    if (!fd_.Close()) {
        error_ = errno;
        return false;
    }
    if (calls->rename(tempPath_.c_str(), target_.c_str()) != 0) {
        error_ = errno;
        return false;
    }
    committed_ = true;
    if (flush == Flush::DataAndFolder) {
        // The file is already complete under its name, so a failure here is
        // not worth failing the replacement for.
        const UniqueFd folder(
            ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.Valid()) {
            (void)calls->fsync(folder.Get());
        }
    }
    return true;
}

Status ReplacementFile::WriteWhole(const std::string& path, std::string_view bytes, Flush flush) {
    ReplacementFile file(path);
    if (file.Ok() && file.Write(bytes) && file.Commit(flush)) {
        return Status{};
    }
    const int error = file.Error() != 0 ? file.Error() : EIO;
    return Status::Failure(SystemErrorText(error), error);
}

int ReplacementFile::SweepStale(const std::string& folder) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (dir == nullptr) {
        return 0;
    }
    const int dirFd = ::dirfd(dir.get());
    int removed = 0;
    // Bounded, so that a folder that keeps changing cannot hold a save up.
    for (int entries = 0; entries < 1000000; ++entries) {
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            break;
        }
        const pid_t owner = OwnerOf(entry->d_name);
        if (owner == 0 || owner == ::getpid() || ::kill(owner, 0) == 0 || errno != ESRCH) {
            continue;
        }
        struct stat info {};
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && ::unlinkat(dirFd, entry->d_name, 0) == 0) {
            ++removed;
        }
    }
    return removed;
}

}  // namespace quolix
