#include "base/ReplacementFile.h"

#include <cerrno>
#include <climits>
#include <filesystem>
#include <random>
#include <system_error>

#include "base/FileSystem.h"
#include "base/IntegerText.h"
#include "base/Processes.h"
#include "base/SystemErrorText.h"

namespace quolix {

namespace {

constexpr ReplacementFile::SystemCalls RealCalls{
    platform::Write, [](int fd) { return platform::SyncFile(fd) ? 0 : -1; },
    [](const char* from, const char* to) { return platform::RenameOver(from, to) ? 0 : -1; }};
const ReplacementFile::SystemCalls* calls = &RealCalls;

// ".quolix-<pid>-<6 letters>": short, so that a target whose name is at the
// file system's limit still gets a temporary beside it, and naming its
// process, so that a leftover can be told from a save in progress.
constexpr std::string_view TempPrefix = ".quolix-";

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

UniqueFd CreateTemporary(const std::string& folder, std::string& tempPath) {
    const std::string stem =
        folder + "/" + std::string(TempPrefix) + std::to_string(platform::CurrentProcessId()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = stem + RandomLetters();
        UniqueFd fd(platform::CreateNew(candidate));
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
long long OwnerOf(std::string_view name) {
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
    return pid;
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
    : path_(std::move(path)), target_(platform::ResolveLink(path_)) {
    platform::FileInfo info;
    if (platform::InspectPath(target_, info)) {
        if (info.kind == platform::FileKind::Directory) {
            error_ = EISDIR;
            return;
        }
        // The rename needs only the folder's permission; a file the user
        // made read-only must stay as it is.
        if (!platform::Writable(target_)) {
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
        // Closed first: Windows removes no file that is still open.
        fd_.Reset();
        platform::RemoveFile(tempPath_);
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
    platform::KeepPermissions(fd_.Get(), target_);
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
        const UniqueFd folder(platform::OpenFolder(FolderOf(target_)));
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
    std::error_code error;
    // The names are UTF-8 whatever the system's own code page.
    const std::u8string utf8Folder(folder.begin(), folder.end());
    std::filesystem::directory_iterator entry(std::filesystem::path(utf8Folder), error);
    int removed = 0;
    // Bounded, so that a folder that keeps changing cannot hold a save up.
    for (int entries = 0;
         !error && entry != std::filesystem::directory_iterator() && entries < 1000000;
         entry.increment(error), ++entries) {
        const std::u8string utf8Name = entry->path().filename().u8string();
        const std::string name(utf8Name.begin(), utf8Name.end());
        const long long owner = OwnerOf(name);
        if (owner == 0 || owner == platform::CurrentProcessId() || platform::ProcessRuns(owner)) {
            continue;
        }
        std::error_code unreadable;
        if (entry->symlink_status(unreadable).type() == std::filesystem::file_type::regular &&
            platform::RemoveFile(folder + "/" + name)) {
            ++removed;
        }
    }
    return removed;
}

}  // namespace quolix
