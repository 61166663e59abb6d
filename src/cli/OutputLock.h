#pragma once

#include <string>

#include "base/UniqueFd.h"

namespace quolix::cli {

// A recorder's claim on its output file for the whole run, so that a second
// recorder to the same file is refused instead of both replacing it in turn.
// The file itself cannot carry the lock, since every save replaces it; a
// hidden lock file beside it does, and goes when the claim is given up.
class OutputLock {
  public:
    explicit OutputLock(const std::string& output);
    ~OutputLock();
    OutputLock(const OutputLock&) = delete;
    OutputLock& operator=(const OutputLock&) = delete;

    bool Held() const { return fd_.Valid(); }
    // EWOULDBLOCK when another process holds the claim, else the errno of
    // the failed call.
    int Error() const { return error_; }

  private:
    std::string lockPath_;
    UniqueFd fd_;
    int error_ = 0;
};

}  // namespace quolix::cli
