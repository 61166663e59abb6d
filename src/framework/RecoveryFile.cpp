#include "framework/RecoveryFile.h"

#include <dirent.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <utility>

#include "base/IntegerText.h"
#include "base/Processes.h"
#include "base/ReplacementFile.h"
#include "base/SystemErrorText.h"
#include "framework/CDocument.h"
#include "framework/DocumentFile.h"

namespace quolix {

namespace {

constexpr std::string_view Prefix = "recovery-";
constexpr std::string_view Suffix = ".qlx";

int64_t MonotonicSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec;
}

// The process a recovery file's name gives, or 0 for any other name.
pid_t OwnerOf(std::string_view name) {
    if (!name.starts_with(Prefix) || !name.ends_with(Suffix)) {
        return 0;
    }
    name.remove_prefix(Prefix.size());
    name.remove_suffix(Suffix.size());
    long long pid = 0;
    return ParseInteger(name, 1, INT_MAX, pid) ? static_cast<pid_t>(pid) : 0;
}

bool Runs(pid_t pid) {
    return pid != platform::CurrentProcessId() && platform::ProcessRuns(pid);
}

// Creates the folder and those above it; the state folder is the user's own.
bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            return true;
        }
    }
}

}  // namespace

std::string RecoveryFile::DefaultFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') {
        return std::string(state) + "/quolix";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.local/state/quolix";
    }
    return {};
}

std::vector<std::string> RecoveryFile::Leftovers(const std::string& folder) {
    std::vector<std::pair<int64_t, std::string>> found;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (dir == nullptr) {
        return {};
    }
    // Bounded, as a folder that keeps changing could otherwise hold start-up.
    for (int entries = 0; entries < 100000; ++entries) {
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            break;
        }
        const pid_t owner = OwnerOf(entry->d_name);
        struct stat info {};
        const std::string path = folder + "/" + entry->d_name;
        if (owner != 0 && !Runs(owner) && ::lstat(path.c_str(), &info) == 0 &&
            S_ISREG(info.st_mode)) {
            found.emplace_back(info.st_mtime, path);
        }
    }
    std::sort(found.begin(), found.end(), std::greater<>());
    std::vector<std::string> paths;
    for (auto& [time, path] : found) {
        paths.push_back(std::move(path));
    }
    return paths;
}

Status RecoveryFile::MoveAside(const std::string& path) {
    if (::rename(path.c_str(), (path + ".damaged").c_str()) != 0) {
        return Status::Failure(SystemErrorText(errno), errno);
    }
    return Status{};
}

void RecoveryFile::Discard(const std::string& path) {
    ::unlink(path.c_str());
}

RecoveryFile::RecoveryFile(std::string folder, std::function<int64_t()> now)
    : folder_(std::move(folder)), now_(now ? std::move(now) : MonotonicSeconds) {
    if (!folder_.empty()) {
        path_ = folder_ + "/" + std::string(Prefix) + std::to_string(platform::CurrentProcessId()) +
                std::string(Suffix);
    }
}

Status RecoveryFile::Update(CDocument& doc) {
    if (!doc.IsModified()) {
        Remove();
        return Status{};
    }
    if (path_.empty()) {
        return Status::Failure("復元用の記録を置くフォルダーがありません (HOME が未設定です)。");
    }
    if (written_ && writtenChange_ == doc.ChangeCount()) {
        return Status{};
    }
    // Every write is whole, so a crash loses at most what came after it; the
    // flush, which costs the disk far more, comes at most once a minute.
    const int64_t now = now_();
    const bool flush = !flushedOnce_ || now - lastFlush_ >= FlushSeconds;
    const auto save = [&] {
        return docfile::SaveCopy(
            doc, path_, flush ? ReplacementFile::Flush::Data : ReplacementFile::Flush::None);
    };
    // The folders are made when a write finds them missing (at the first, or
    // after someone removed them), not at every sample.
    Status saved = save();
    if (!saved.ok && saved.error == ENOENT) {
        if (!MakeFolders(folder_)) {
            const int error = errno;
            return Status::Failure(
                folder_ + " を作れませんでした。\n(" + SystemErrorText(error) + ")", error);
        }
        saved = save();
    }
    if (!saved.ok) {
        return saved;
    }
    if (flush) {
        flushedOnce_ = true;
        lastFlush_ = now;
    }
    written_ = true;
    writtenChange_ = doc.ChangeCount();
    return Status{};
}

void RecoveryFile::Remove() {
    // Only a copy of ours: a leftover under this process's number (from
    // before a restart) waits for its question.
    if (written_) {
        ::unlink(path_.c_str());
    }
    written_ = false;
    flushedOnce_ = false;
}

}  // namespace quolix
