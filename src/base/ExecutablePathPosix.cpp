#include "base/ExecutablePath.h"

#include <unistd.h>

#include <cstddef>

namespace quolix {

std::string ExecutablePath() {
    // readlink does not say whether it truncated; a result that fills the
    // buffer is retried with a larger one.
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
        if (length <= 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        if (target.size() >= 65536) {
            return {};
        }
        target.resize(target.size() * 2);
    }
}

}  // namespace quolix
