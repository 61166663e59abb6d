#include "framework/DocumentFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "base/FileSystem.h"
#include "base/ReplacementFile.h"
#include "base/SystemErrorText.h"
#include "base/UniqueFd.h"
#include "framework/Archive.h"
#include "framework/CDocument.h"

namespace quolix::docfile {

namespace {

// The message names the file as the file system does; only a message box
// that shows it in CP932 has to convert it.
Status Failure(const std::string& path, std::string_view text) {
    std::string message = path;
    message += text;
    return Status::Failure(std::move(message));
}

Status Failure(const std::string& path, std::string_view text, int error) {
    std::string message = path;
    message += text;
    message += "\n(";
    message += SystemErrorText(error);
    message += ")";
    return Status::Failure(std::move(message), error);
}

constexpr std::string_view OpenFailed = " を開けませんでした。";
constexpr std::string_view TooLarge = " は大きすぎるため読み込めません。";
constexpr std::string_view EndsEarly = " を読み込めませんでした。ファイルが途中で終わっています。";
constexpr std::string_view Damaged = " を読み込めませんでした。ファイルが壊れています。";
constexpr std::string_view SaveFailed = " に保存できませんでした。";
constexpr std::string_view NoFileName = "保存先のファイル名がありません。";
constexpr std::string_view NewFailed = "新しい記録を始められませんでした。";

Status LoadFailure(const CDocument& doc, const std::string& path, ArchiveError error) {
    switch (error) {
        case ArchiveError::ForeignFormat:
            if (!doc.ForeignFileText().empty()) {
                return Failure(path, doc.ForeignFileText());
            }
            return Failure(path, Damaged);
        case ArchiveError::EndOfData:
            return Failure(path, EndsEarly);
        default:
            return Failure(path, Damaged);
    }
}

// Reads at most limit + 1 bytes, so that a file that grew past the limit
// after it was measured is still recognised as too large.
bool ReadAll(int fd, std::size_t sizeHint, std::size_t limit, std::vector<uint8_t>& bytes,
             int& error) {
    bytes.clear();
    bytes.reserve(sizeHint);
    uint8_t buffer[64 * 1024];
    while (bytes.size() <= limit) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return false;
        }
        if (got == 0) {
            return true;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return true;
}

Status WriteFile(const std::string& path, std::span<const uint8_t> bytes,
                 ReplacementFile::Flush flush) {
    const Status written = ReplacementFile::WriteWhole(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), flush);
    return written.ok ? Status{} : Failure(path, SaveFailed, written.error);
}

}  // namespace

Status New(CDocument& doc) {
    if (doc.OnNewDocument() == 0) {
        return Status::Failure(std::string(NewFailed));
    }
    doc.SetModifiedFlag(false);
    return Status{};
}

Status Open(CDocument& doc, const std::string& path) {
    std::vector<uint8_t> bytes;
    const Status read = Read(path, bytes);
    return read.ok ? Load(doc, path, bytes) : read;
}

Status Read(const std::string& path, std::vector<uint8_t>& bytes) {
    // The type is checked before the open: opening a device node can act
    // (a pseudo-terminal master is allocated, a tape rewinds).
    platform::FileInfo named;
    if (!platform::InspectPath(path, named)) {
        return Failure(path, OpenFailed, errno);
    }
    if (named.kind == platform::FileKind::Directory) {
        return Failure(path, OpenFailed, EISDIR);
    }
    if (named.kind != platform::FileKind::Regular) {
        return Failure(path, OpenFailed, EINVAL);
    }
    // A FIFO put in the file's place meanwhile cannot hang the open; anything
    // but the file looked at is refused.
    UniqueFd fd(platform::OpenForReading(path));
    if (!fd.Valid()) {
        return Failure(path, OpenFailed, errno);
    }
    platform::FileInfo info;
    if (!platform::Inspect(fd.Get(), info)) {
        return Failure(path, OpenFailed, errno);
    }
    if (!platform::SameIdentity(info, named)) {
        return Failure(path, OpenFailed, EAGAIN);
    }
    if (info.size > MaxFileSize) {
        return Failure(path, TooLarge);
    }
    int error = 0;
    if (!ReadAll(fd.Get(), static_cast<std::size_t>(info.size), MaxFileSize, bytes, error)) {
        return Failure(path, OpenFailed, error);
    }
    if (bytes.size() > MaxFileSize) {
        return Failure(path, TooLarge);
    }
    return Status{};
}

Status Load(CDocument& doc, const std::string& path, std::span<const uint8_t> bytes) {
    Archive archive = Archive::ForLoading(bytes);
    doc.Serialize(archive);
    if (archive.Failed()) {
        return LoadFailure(doc, path, archive.Error());
    }
    doc.SetPathName(path);
    doc.SetModifiedFlag(false);
    return Status{};
}

Status Save(CDocument& doc) {
    if (doc.GetPathName().empty()) {
        return Status::Failure(std::string(NoFileName));
    }
    const std::string path = doc.GetPathName();
    return SaveAs(doc, path);
}

Status SaveAs(CDocument& doc, const std::string& path, ReplacementFile::Flush flush) {
    Status result = SaveCopy(doc, path, flush);
    if (result.ok) {
        doc.SetPathName(path);
        doc.SetModifiedFlag(false);
    }
    return result;
}

std::optional<std::vector<uint8_t>> Contents(CDocument& doc) {
    Archive archive = Archive::ForStoring();
    doc.Serialize(archive);
    if (archive.Failed()) {
        return std::nullopt;
    }
    return archive.TakeBytes();
}

Status SaveCopy(CDocument& doc, const std::string& path, ReplacementFile::Flush flush) {
    if (path.empty()) {
        return Status::Failure(std::string(NoFileName));
    }
    const std::optional<std::vector<uint8_t>> bytes = Contents(doc);
    if (!bytes) {
        return Failure(path, SaveFailed);
    }
    return WriteFile(path, *bytes, flush);
}

}  // namespace quolix::docfile
