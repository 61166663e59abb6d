#pragma once

#include <signal.h>

#include <array>

namespace quolix::cli {

// Turns SIGINT, SIGTERM and SIGHUP into a flag that the recording loop
// checks, so that it can write its file once more and end normally. The
// handlers are installed without SA_RESTART, so a signal also cuts a sleep
// short. SIGPIPE is ignored: a reader of the output that went away must not
// end a recording. Everything is restored when the object goes.
class StopSignal {
  public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    // Non-zero once one of the signals arrived.
    static const volatile sig_atomic_t& Flag();
    // For tests: forget an earlier signal.
    static void Clear();

  private:
    static constexpr std::array<int, 4> Signals = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
    std::array<struct sigaction, Signals.size()> previous_{};
};

}  // namespace quolix::cli
