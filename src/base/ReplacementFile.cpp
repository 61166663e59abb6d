#include "base/ReplacementFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "base/SystemErrorText.h"

namespace quolix {

namespace {

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

mode_t ModeFor(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        return info.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string DirectoryOf(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : target.substr(0, slash);
}

}  // namespace

ReplacementFile::ReplacementFile(std::string path)
    : path_(std::move(path)), target_(ResolveTarget(path_)) {
    struct stat info {};
    if (::stat(target_.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        error_ = EISDIR;
        return;
    }
    std::string pattern = target_ + ".XXXXXX";
    fd_.Reset(::mkostemp(pattern.data(), O_CLOEXEC));
    if (!fd_.Valid()) {
        error_ = errno;
        return;
    }
    tempPath_ = std::move(pattern);
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
        const ssize_t written = ::write(fd_.Get(), bytes.data(), bytes.size());
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

bool ReplacementFile::Commit(Flush flush) {
    if (!fd_.Valid() || committed_) {
        return false;
    }
    // Permissions are a courtesy; a file system without them still saves.
    (void)::fchmod(fd_.Get(), ModeFor(target_));
    if (flush != Flush::None && ::fsync(fd_.Get()) != 0) {
        error_ = errno;
        return false;
    }
    if (!fd_.Close()) {
        error_ = errno;
        return false;
    }
    if (::rename(tempPath_.c_str(), target_.c_str()) != 0) {
        error_ = errno;
        return false;
    }
    committed_ = true;
    if (flush == Flush::DataAndFolder) {
        // The file is already complete under its name, so a failure here is
        // not worth failing the replacement for.
        const UniqueFd folder(
            ::open(DirectoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.Valid()) {
            (void)::fsync(folder.Get());
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

}  // namespace quolix
