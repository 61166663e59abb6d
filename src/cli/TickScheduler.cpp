#include "cli/TickScheduler.h"

#include <cerrno>

namespace quolix::cli {

namespace {

constexpr int64_t NsPerSecond = 1'000'000'000;

}  // namespace

timespec TickScheduler::Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now;
}

timespec TickScheduler::Add(timespec at, int64_t ns) {
    const int64_t total = at.tv_nsec + ns % NsPerSecond;
    at.tv_sec += static_cast<time_t>(ns / NsPerSecond + total / NsPerSecond);
    at.tv_nsec = static_cast<long>(total % NsPerSecond);
    if (at.tv_nsec < 0) {
        at.tv_nsec += NsPerSecond;
        at.tv_sec -= 1;
    }
    return at;
}

int64_t TickScheduler::DifferenceNs(const timespec& later, const timespec& earlier) {
    return (static_cast<int64_t>(later.tv_sec) - earlier.tv_sec) * NsPerSecond +
           (later.tv_nsec - earlier.tv_nsec);
}

void TickScheduler::Start() {
    next_ = Add(Now(), periodNs_);
    ticks_ = 0;
}

TickScheduler::Wake TickScheduler::WaitForTick(const volatile sig_atomic_t& stop) {
    for (;;) {
        if (stop != 0) {
            return Wake::Stop;
        }
        const int result = clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next_, nullptr);
        if (result == 0) {
            break;
        }
        // EINTR: a signal ran its handler; look at the flag and sleep on.
        // Anything else cannot happen with a valid deadline; never spin on it.
        if (result != EINTR) {
            break;
        }
    }
    if (stop != 0) {
        return Wake::Stop;
    }
    next_ = Add(next_, periodNs_);
    ++ticks_;
    return Wake::Tick;
}

}  // namespace quolix::cli
