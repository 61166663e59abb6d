#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Status.h"

namespace quolix {

class CDocument;

// A copy of a document's unsaved data in a per-user folder, so that a crash
// or a power cut does not take a long recording with it. Each running
// instance has its own file, named after its process; a file whose process
// has gone is a leftover to offer at the next start.
//
// The copy is replaced whole and flushed to the disk at most once a minute.
// Changes in between go to a newer copy beside it ("<copy>.newer"), written
// over in place with a checksum: far cheaper than a replacement a second,
// which on ext4 frees and writes back the whole file each time. A crash
// leaves the newer copy whole; a power cut may tear it, and then the flushed
// copy is what is left.
class RecoveryFile {
  public:
    // At most this long between flushes of the copy to the disk.
    static constexpr int64_t FlushSeconds = 60;

    // $XDG_STATE_HOME/quolix, else ~/.local/state/quolix; empty when neither
    // variable gives a place.
    static std::string DefaultFolder();
    // The recovery files in folder whose process no longer runs (this
    // process's own counts: it has written nothing yet), newest first.
    static std::vector<std::string> Leftovers(const std::string& folder);
    // Loads the newest whole copy of the leftover at path: its newer copy
    // when that is whole and loads, else path itself. The document is named
    // after the file it came from.
    static Status Open(CDocument& doc, const std::string& path);
    // Renames a leftover that cannot be loaded (and its newer copy) to
    // "<name>.damaged", so that it is kept for a closer look but never
    // offered again.
    static Status MoveAside(const std::string& path);
    // Deletes a leftover the user let go (or that a copy of ours replaced).
    static void Discard(const std::string& path);
    static std::string NewerPath(const std::string& path) { return path + ".newer"; }

    // now: a monotonic clock in seconds; null means the system's.
    explicit RecoveryFile(std::string folder, std::function<int64_t()> now = nullptr);

    const std::string& Folder() const { return folder_; }
    const std::string& Path() const { return path_; }

    // Brings the copy up to date when the document has changed since the last
    // write: replaced and flushed when the last flush is FlushSeconds old (or
    // the newer copy cannot be written), else the newer copy is written over.
    // Both are removed when the document is clean.
    Status Update(CDocument& doc);
    // Removes the copies, if this object wrote them.
    void Remove();

  private:
    Status Replace(CDocument& doc);

    std::string folder_;
    std::string path_;
    std::function<int64_t()> now_;
    unsigned long long writtenChange_ = 0;
    bool written_ = false;
    bool flushedOnce_ = false;
    int64_t lastFlush_ = 0;
};

}  // namespace quolix
