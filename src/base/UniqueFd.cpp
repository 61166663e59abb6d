#include "base/UniqueFd.h"

#include <unistd.h>

namespace quolix {

void UniqueFd::Reset(int fd) {
    if (fd_ >= 0 && fd_ != fd) {
        // Never retried: on Linux the descriptor is gone even when close
        // reports EINTR, and a retry could close someone else's.
        ::close(fd_);
    }
    fd_ = fd;
}

bool UniqueFd::Close() {
    const int fd = Release();
    return fd < 0 || ::close(fd) == 0;
}

}  // namespace quolix
