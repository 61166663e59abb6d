#include "cli/TickScheduler.h"

#include "base/MonotonicClock.h"

namespace quolix::cli {

namespace {

constexpr int64_t NsPerSecond = 1'000'000'000;

}  // namespace

timespec TickScheduler::Now() {
    return Add(timespec{}, platform::MonotonicNowNs());
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
        // Cut short by a stop request: look at the flag and sleep on.
        if (platform::SleepUntil(DifferenceNs(next_, timespec{}))) {
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
