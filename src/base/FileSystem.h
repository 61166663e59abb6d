#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

// The file operations of the layers, one implementation per system
// (FileSystemPosix.cpp, FileSystemWin32.cpp). Paths are UTF-8. Descriptors are
// the C library's, always binary (no CR LF or 0x1A translation) and never
// inherited by programs this one starts. A failure returns -1 or false with
// errno set, so that SystemErrorText can say why.
namespace quolix::platform {

enum class FileKind { Regular, Directory, Other };

struct FileInfo {
    FileKind kind = FileKind::Other;
    uint64_t size = 0;
    // Which file it is: device and inode, or volume and file index.
    uint64_t volume = 0;
    uint64_t index = 0;
};

// True when both describe one file.
bool SameIdentity(const FileInfo& a, const FileInfo& b);

// For reading only; a FIFO or a device cannot make the open hang, nor
// become the controlling terminal.
int OpenForReading(const std::string& path);
// Created when missing, emptied when present.
int OpenForWriting(const std::string& path);
// A file that must not exist yet (EEXIST when it does; a symbolic link in its
// place is not followed), for reading and writing, with the permissions any
// new file gets.
int CreateNew(const std::string& path);
// A folder, only to make its names durable with SyncFile; -1 where the
// system has no such thing (Windows: RenameOver writes through).
int OpenFolder(const std::string& path);
// Opens path (made when missing, for this user only; a symbolic link in its
// place is not followed) and takes the exclusive lock on it without waiting:
// EWOULDBLOCK when another opener holds it. The lock goes with the
// descriptor; the file may be removed while it is held.
int LockExclusive(const std::string& path);
// write(2) on both systems; the count may exceed what Windows' _write takes.
ssize_t Write(int fd, const void* bytes, std::size_t size);
// Writes until all of bytes is written or a write fails (retrying those a
// signal interrupted); how many bytes reached the file. Fewer than size is a
// failure, errno saying why.
std::size_t WriteAll(int fd, const void* bytes, std::size_t size);

bool Inspect(int fd, FileInfo& info);
// Follows symbolic links; false when nothing is there.
bool InspectPath(const std::string& path, FileInfo& info);

// What was written through fd reaches the disk.
bool SyncFile(int fd);
// Renames from over to in one step: to holds either its old or its new
// contents, whatever happens.
bool RenameOver(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);

// The file a symbolic link names; path itself when it is no link.
std::string ResolveLink(const std::string& path);
// Gives the file behind fd the permissions of target, when target is a
// regular file (a courtesy: a file system without them still saves).
void KeepPermissions(int fd, const std::string& target);
// False, with errno, when this user may not write the file (read-only).
bool Writable(const std::string& path);
// True when this user may make a file in folder.
bool CanCreateIn(const std::string& folder);
// True when both names lead to one file (hard links, links, case).
bool SameFile(const std::string& a, const std::string& b);

}  // namespace quolix::platform
