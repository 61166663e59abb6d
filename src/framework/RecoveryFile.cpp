#include "framework/RecoveryFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "base/FileSystem.h"
#include "base/IntegerText.h"
#include "base/Processes.h"
#include "base/ReplacementFile.h"
#include "base/SystemErrorText.h"
#include "base/UniqueFd.h"
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

// The newer copy: "QLXNEWER", the contents' length and their FNV-1a hash
// (64-bit little-endian each), then the contents as a .qlx file holds them.
constexpr std::string_view NewerMagic = "QLXNEWER";
constexpr std::size_t NewerHeaderSize = 24;

uint64_t Fnv1a(std::span<const uint8_t> bytes) {
    uint64_t hash = 14695981039346656037ULL;
    for (const uint8_t byte : bytes) {
        hash = (hash ^ byte) * 1099511628211ULL;
    }
    return hash;
}

void PutLe64(uint8_t* at, uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

uint64_t GetLe64(const uint8_t* at) {
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i) {
        value |= static_cast<uint64_t>(at[i]) << (8 * i);
    }
    return value;
}

// The contents of a newer copy that was written whole. Bytes past them are
// what a longer earlier copy left when the writer died before cutting them.
std::optional<std::span<const uint8_t>> WholeContents(std::span<const uint8_t> file) {
    if (file.size() < NewerHeaderSize ||
        std::memcmp(file.data(), NewerMagic.data(), NewerMagic.size()) != 0) {
        return std::nullopt;
    }
    const uint64_t size = GetLe64(file.data() + 8);
    if (size > file.size() - NewerHeaderSize) {
        return std::nullopt;
    }
    const std::span<const uint8_t> contents = file.subspan(NewerHeaderSize, size);
    if (Fnv1a(contents) != GetLe64(file.data() + 16)) {
        return std::nullopt;
    }
    return contents;
}

// Writes over the newer copy in place: no new file, no rename, no flush, so
// the kernel only has pages to write back. False on any failure.
bool WriteNewer(const std::string& path, CDocument& doc) {
    const std::optional<std::vector<uint8_t>> contents = docfile::Contents(doc);
    if (!contents) {
        return false;
    }
    std::array<uint8_t, NewerHeaderSize> header{};
    std::memcpy(header.data(), NewerMagic.data(), NewerMagic.size());
    PutLe64(header.data() + 8, contents->size());
    PutLe64(header.data() + 16, Fnv1a(*contents));

    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.Valid()) {
        return false;
    }
    // A new descriptor writes from the start of the file. A write cut short
    // between the two leaves a header whose hash the contents do not match.
    return platform::WriteAll(fd.Get(), header.data(), header.size()) == header.size() &&
           platform::WriteAll(fd.Get(), contents->data(), contents->size()) == contents->size() &&
           ::ftruncate(fd.Get(), static_cast<off_t>(header.size() + contents->size())) == 0 &&
           fd.Close();
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

Status RecoveryFile::Open(CDocument& doc, const std::string& path) {
    const std::string newer = NewerPath(path);
    std::vector<uint8_t> bytes;
    if (docfile::Read(newer, bytes).ok) {
        const std::optional<std::span<const uint8_t>> contents = WholeContents(bytes);
        if (contents && docfile::Load(doc, newer, *contents).ok) {
            return Status{};
        }
    }
    return docfile::Open(doc, path);
}

Status RecoveryFile::MoveAside(const std::string& path) {
    const std::string newer = NewerPath(path);
    if (::rename(path.c_str(), (path + ".damaged").c_str()) != 0 ||
        (::rename(newer.c_str(), (newer + ".damaged").c_str()) != 0 && errno != ENOENT)) {
        return Status::Failure(SystemErrorText(errno), errno);
    }
    return Status{};
}

void RecoveryFile::Discard(const std::string& path) {
    ::unlink(path.c_str());
    ::unlink(NewerPath(path).c_str());
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
    // The flush costs the disk far more than a write, so it comes at most
    // once a minute; in between only the newer copy is written.
    const int64_t now = now_();
    if (!flushedOnce_ || now - lastFlush_ >= FlushSeconds || !WriteNewer(NewerPath(path_), doc)) {
        const Status replaced = Replace(doc);
        if (!replaced.ok) {
            return replaced;
        }
        flushedOnce_ = true;
        lastFlush_ = now;
    }
    written_ = true;
    writtenChange_ = doc.ChangeCount();
    return Status{};
}

Status RecoveryFile::Replace(CDocument& doc) {
    const auto save = [&] { return docfile::SaveCopy(doc, path_, ReplacementFile::Flush::Data); };
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
    // The replaced copy is now the newest; an older newer copy would hide it.
    const std::string newer = NewerPath(path_);
    if (::unlink(newer.c_str()) != 0 && errno != ENOENT) {
        const int error = errno;
        return Status::Failure(newer + " を消せませんでした。\n(" + SystemErrorText(error) + ")",
                               error);
    }
    return Status{};
}

void RecoveryFile::Remove() {
    // Only a copy of ours: a leftover under this process's number (from
    // before a restart) waits for its question.
    if (written_) {
        Discard(path_);
    }
    written_ = false;
    flushedOnce_ = false;
}

}  // namespace quolix
