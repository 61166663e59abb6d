#include "base/StopRequests.h"

#include <signal.h>

#include <array>
#include <cstddef>

namespace quolix::platform {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

constexpr std::array<int, 4> Signals = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
// One object at a time, so one set of saved handlers.
std::array<struct sigaction, Signals.size()> previous{};

extern "C" void OnStopSignal(int) {
    stopRequested = 1;
}

}  // namespace

StopRequests::StopRequests() {
    for (std::size_t i = 0; i < Signals.size(); ++i) {
        struct sigaction action {};
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        action.sa_handler = Signals[i] == SIGPIPE ? SIG_IGN : OnStopSignal;
        sigaction(Signals[i], &action, &previous[i]);
    }
}

StopRequests::~StopRequests() {
    for (std::size_t i = 0; i < Signals.size(); ++i) {
        sigaction(Signals[i], &previous[i], nullptr);
    }
}

const volatile std::sig_atomic_t& StopRequests::Flag() {
    return stopRequested;
}

void StopRequests::Clear() {
    stopRequested = 0;
}

}  // namespace quolix::platform
