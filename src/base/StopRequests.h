#pragma once

#include <csignal>

namespace quolix::platform {

// Turns the system's requests to stop into a flag that a long-running loop
// checks, so that it can write its file once more and end normally: SIGINT,
// SIGTERM and SIGHUP on POSIX (installed without SA_RESTART, so they also cut
// a sleep short; SIGPIPE is ignored, so a reader that went away does not end
// a recording), Ctrl+C, Ctrl+Break and closing the console on Windows (they
// also end SleepUntil). One object at a time; everything is restored when it
// goes.
class StopRequests {
  public:
    StopRequests();
    ~StopRequests();
    StopRequests(const StopRequests&) = delete;
    StopRequests& operator=(const StopRequests&) = delete;

    // Non-zero once a request arrived.
    static const volatile std::sig_atomic_t& Flag();
    // For tests: forget an earlier request.
    static void Clear();
};

}  // namespace quolix::platform
