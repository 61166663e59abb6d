#pragma once

#include <cstdint>

namespace quolix::platform {

// Nanoseconds on a clock that only moves forward at a steady pace (not the
// wall clock), counted from an arbitrary start.
int64_t MonotonicNowNs();

// Sleeps until MonotonicNowNs() reaches deadlineNs: true then, false when a
// stop request (StopRequests) ended the sleep earlier. A failing clock never
// makes it return at once over and over.
bool SleepUntil(int64_t deadlineNs);

}  // namespace quolix::platform
