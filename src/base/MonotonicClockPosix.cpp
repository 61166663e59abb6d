#include "base/MonotonicClock.h"

#include <time.h>

#include <cerrno>

namespace quolix::platform {

namespace {

constexpr int64_t NsPerSecond = 1'000'000'000;

}  // namespace

int64_t MonotonicNowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * NsPerSecond + now.tv_nsec;
}

bool SleepUntil(int64_t deadlineNs) {
    timespec deadline{};
    deadline.tv_sec = static_cast<time_t>(deadlineNs / NsPerSecond);
    deadline.tv_nsec = static_cast<long>(deadlineNs % NsPerSecond);
    if (deadline.tv_nsec < 0) {
        deadline.tv_nsec += NsPerSecond;
        deadline.tv_sec -= 1;
    }
    // EINTR: a signal ran its handler, which is how a stop request arrives.
    // Anything else cannot happen with a valid deadline.
    return clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) != EINTR;
}

}  // namespace quolix::platform
