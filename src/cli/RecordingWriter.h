#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace quolix {

// Rewrites a recording after every stored sample, whole or not at all: the
// bytes go to a temporary file beside the target, which is then renamed over
// it. A killed process therefore leaves the last complete version. The data is
// not flushed to the disk each time: one flush per second would cost more
// than the rest of the recording together. What a power cut leaves then
// depends on the file system's ordering of a replace-by-rename, which ext4
// (the default) and btrfs keep: the old version or the new one. The recorder's
// last write goes through DocumentFile, which flushes everything.
class RecordingWriter {
  public:
    // Settles the target (through a symbolic link) and its permissions once.
    explicit RecordingWriter(const std::string& path);

    // 0, or the errno of the step that failed; no temporary file is left.
    int Write(std::string_view bytes);

  private:
    std::string target_;
    mode_t mode_;
};

}  // namespace quolix
