#pragma once

#include <signal.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "counter-sim/CounterModel.h"
#include "counter-sim/ReplyScript.h"

namespace quolix {

// The counter's side of the line: answers every carriage return read from the
// pseudo-terminal master, from the model or from a script, and holds late
// replies back until they fall due.
class Simulator {
  public:
    // With a script, replies come from it and the model is not asked.
    Simulator(const ModelConfig& model, std::optional<ReplyScript> script);

    // Requests that arrive from at to at + length seconds after the start go
    // unanswered.
    void SetSilence(double at, double length) {
        silentAt_ = at;
        silentFor_ = length;
    }

    // Serves the master until stop becomes non-zero (a signal handler sets it)
    // or, when untilSeconds is not negative, until that many seconds after
    // the start. Never sleeps longer than PollCapMs between looks at the flag.
    void Run(int master, const volatile sig_atomic_t& stop, double untilSeconds = -1);
    // Seconds since the simulator was made.
    double Elapsed() const;

    static constexpr int PollCapMs = 100;

  private:
    using Clock = std::chrono::steady_clock;
    struct LateReply {
        Clock::time_point due;
        std::string bytes;
    };

    void Answer(int master);
    int TimeoutMs() const;
    void SendDue(int master);

    CounterModel model_;
    std::optional<ReplyScript> script_;
    Clock::time_point start_ = Clock::now();
    std::vector<LateReply> late_;
    double silentAt_ = -1;
    double silentFor_ = 0;
};

}  // namespace quolix
