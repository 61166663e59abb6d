#include "base/FileSystem.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>

#include "base/Win32Support.h"

namespace quolix::platform {

namespace {

// Invalid UTF-8 names no file.
std::optional<std::wstring> Wide(const std::string& path) {
    std::optional<std::wstring> wide = win32::WideFromUtf8(path);
    if (!wide) {
        errno = EINVAL;
    }
    return wide;
}

int OpenWide(const std::string& path, int flags) {
    const std::optional<std::wstring> wide = Wide(path);
    if (!wide) {
        return -1;
    }
    return ::_wopen(wide->c_str(), flags | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

void Fill(unsigned short mode, long long size, FileInfo& info) {
    const unsigned short type = mode & _S_IFMT;
    info.kind = type == _S_IFREG   ? FileKind::Regular
                : type == _S_IFDIR ? FileKind::Directory
                                   : FileKind::Other;
    info.size = size < 0 ? 0 : static_cast<uint64_t>(size);
}

// The C library's inode is always 0 on Windows; the file index is the
// identity.
void FillIdentity(const BY_HANDLE_FILE_INFORMATION& identity, FileInfo& info) {
    info.volume = identity.dwVolumeSerialNumber;
    info.index = (static_cast<uint64_t>(identity.nFileIndexHigh) << 32) | identity.nFileIndexLow;
}

// The file's identity: its volume and its index on that volume.
bool IdentityOf(const std::string& path, BY_HANDLE_FILE_INFORMATION& identity) {
    const std::optional<std::wstring> wide = Wide(path);
    if (!wide) {
        return false;
    }
    // No access asked for, every sharing allowed: only the identity is read.
    // Backup semantics let a folder be opened as well.
    const HANDLE handle =
        ::CreateFileW(wide->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return win32::FailWithLastError();
    }
    const bool read = ::GetFileInformationByHandle(handle, &identity) != 0;
    ::CloseHandle(handle);
    return read;
}

}  // namespace

int OpenForReading(const std::string& path) {
    return OpenWide(path, _O_RDONLY);
}

int OpenForWriting(const std::string& path) {
    return OpenWide(path, _O_WRONLY | _O_CREAT | _O_TRUNC);
}

int CreateNew(const std::string& path) {
    return OpenWide(path, _O_RDWR | _O_CREAT | _O_EXCL);
}

int OpenFolder(const std::string&) {
    errno = ENOSYS;
    return -1;
}

int LockExclusive(const std::string& path) {
    const std::optional<std::wstring> wide = Wide(path);
    if (!wide) {
        return -1;
    }
    // Shared for removal only: a second opener is turned away as the lock
    // is, and the holder can still remove the file it holds.
    const HANDLE handle =
        ::CreateFileW(wide->c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        errno = error == ERROR_SHARING_VIOLATION ? EWOULDBLOCK : win32::ErrnoFor(error);
        return -1;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}

ssize_t Write(int fd, const void* bytes, std::size_t size) {
    return ::_write(fd, bytes, static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX)));
}

bool SameIdentity(const FileInfo& a, const FileInfo& b) {
    return a.volume == b.volume && a.index == b.index;
}

bool Inspect(int fd, FileInfo& info) {
    struct _stat64 status {};
    if (::_fstat64(fd, &status) != 0) {
        return false;
    }
    Fill(status.st_mode, status.st_size, info);
    BY_HANDLE_FILE_INFORMATION identity{};
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (handle != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(handle, &identity) != 0) {
        FillIdentity(identity, info);
    }
    return true;
}

bool InspectPath(const std::string& path, FileInfo& info) {
    const std::optional<std::wstring> wide = Wide(path);
    struct _stat64 status {};
    if (!wide || ::_wstat64(wide->c_str(), &status) != 0) {
        return false;
    }
    Fill(status.st_mode, status.st_size, info);
    BY_HANDLE_FILE_INFORMATION identity{};
    if (IdentityOf(path, identity)) {
        FillIdentity(identity, info);
    }
    return true;
}

bool SyncFile(int fd) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (handle == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return false;
    }
    return ::FlushFileBuffers(handle) != 0 || win32::FailWithLastError();
}

bool RenameOver(const std::string& from, const std::string& to) {
    const std::optional<std::wstring> wideFrom = Wide(from);
    const std::optional<std::wstring> wideTo = Wide(to);
    if (!wideFrom || !wideTo) {
        return false;
    }
    // Fails, leaving the target as it was, while another program holds the
    // target open.
    return ::MoveFileExW(wideFrom->c_str(), wideTo->c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 ||
           win32::FailWithLastError();
}

bool RemoveFile(const std::string& path) {
    const std::optional<std::wstring> wide = Wide(path);
    return wide && ::_wunlink(wide->c_str()) == 0;
}

std::string ResolveLink(const std::string& path) {
    // Links are rare on Windows, and a replacement moved over one replaces
    // the link itself, as any other Windows program's save does.
    return path;
}

void KeepPermissions(int, const std::string&) {
    // A new file inherits the folder's access rules, as the old one did.
}

bool Writable(const std::string& path) {
    const std::optional<std::wstring> wide = Wide(path);
    if (!wide) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return win32::FailWithLastError();
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

bool CanCreateIn(const std::string& folder) {
    // Windows says only at the attempt whether its access rules allow it.
    FileInfo info;
    return InspectPath(folder, info) && info.kind == FileKind::Directory;
}

bool SameFile(const std::string& a, const std::string& b) {
    FileInfo first;
    FileInfo second;
    return InspectPath(a, first) && InspectPath(b, second) && SameIdentity(first, second);
}

}  // namespace quolix::platform
