#pragma once

#include <signal.h>
#include <time.h>

#include <cstdint>

namespace quolix::cli {

// Hands out ticks at fixed points of the monotonic clock: tick n is due at
// start + n x period. Every wait sleeps until an absolute deadline, so a tick
// that comes late (a busy machine, a slow disk) does not move the ones after
// it: the time base stays on the clock however long a recording runs. After a
// long stall the missed ticks follow at once, one per call, until the
// schedule is caught up, so the tick count keeps matching the clock.
class TickScheduler {
  public:
    enum class Wake { Tick, Stop };

    explicit TickScheduler(int64_t periodNs) : periodNs_(periodNs > 0 ? periodNs : 1) {}

    // The first tick falls due one period from now.
    void Start();
    // Sleeps until the next tick is due and returns Tick; returns Stop as soon
    // as stop is non-zero, also when a signal ends the sleep early.
    Wake WaitForTick(const volatile sig_atomic_t& stop);

    // The deadline of the next tick, and how many ticks were handed out.
    const timespec& NextDeadline() const { return next_; }
    int64_t TicksGiven() const { return ticks_; }

    static timespec Now();
    static timespec Add(timespec at, int64_t ns);
    static int64_t DifferenceNs(const timespec& later, const timespec& earlier);

  private:
    int64_t periodNs_;
    timespec next_{};
    int64_t ticks_ = 0;
};

}  // namespace quolix::cli
