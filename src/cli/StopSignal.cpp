#include "cli/StopSignal.h"

namespace quolix::cli {

namespace {

volatile sig_atomic_t stopRequested = 0;

extern "C" void OnStopSignal(int) {
    stopRequested = 1;
}

}  // namespace

StopSignal::StopSignal() {
    for (std::size_t i = 0; i < Signals.size(); ++i) {
        struct sigaction action {};
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        action.sa_handler = Signals[i] == SIGPIPE ? SIG_IGN : OnStopSignal;
        sigaction(Signals[i], &action, &previous_[i]);
    }
}

StopSignal::~StopSignal() {
    for (std::size_t i = 0; i < Signals.size(); ++i) {
        sigaction(Signals[i], &previous_[i], nullptr);
    }
}

const volatile sig_atomic_t& StopSignal::Flag() {
    return stopRequested;
}

void StopSignal::Clear() {
    stopRequested = 0;
}

}  // namespace quolix::cli
