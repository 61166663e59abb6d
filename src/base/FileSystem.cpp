#include "base/FileSystem.h"

#include <cerrno>

namespace quolix::platform {

std::size_t WriteAll(int fd, const void* bytes, std::size_t size) {
    const auto* data = static_cast<const unsigned char*>(bytes);
    std::size_t done = 0;
    // Each pass writes something or stops, so this ends.
    while (done < size) {
        const ssize_t written = Write(fd, data + done, size - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            break;
        }
        done += static_cast<std::size_t>(written);
    }
    return done;
}

}  // namespace quolix::platform
