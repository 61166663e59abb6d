#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace quolix {

// What the simulated counter measures and how badly it behaves.
struct ModelConfig {
    double freqHz = 10'000'000.0;
    // 0: one count is 100 Hz, 1: 10 Hz, 2: 1 Hz.
    int resolution = 0;
    double driftPpmPerHour = 0.0;
    // Standard deviation of white noise, in counts.
    double noiseCounts = 0.0;
    double dropProbability = 0.0;
    double malformedProbability = 0.0;
    double lateProbability = 0.0;
    int lateMs = 500;
    uint64_t seed = 1;
};

// One answer to one request.
struct ModelReply {
    enum class Kind { Normal, Dropped, Malformed };
    Kind kind = Kind::Normal;
    // The bytes to send, terminator included; empty when dropped.
    std::string bytes;
    // How long to hold the reply back; 0 sends it at once.
    int delayMs = 0;
};

// A counter watching an oscillator: centre frequency plus linear drift since
// start, white noise, and optional dropped, malformed and late replies. Every
// random choice comes from one seeded generator with a fixed number of draws
// per request, so a seed fixes the whole sequence.
class CounterModel {
  public:
    static constexpr int32_t MinReading = -9'999'999;
    static constexpr int32_t MaxReading = 99'999'999;

    explicit CounterModel(const ModelConfig& config);

    // Hertz per count for a resolution setting; anything unknown counts as 0.
    static int32_t HzPerCount(int resolution);
    // Noise-free counts at this time since start.
    double ExpectedCounts(double elapsedSeconds) const;
    // Rounds to the nearest count and keeps the result printable in 8 characters.
    static int32_t ClampReading(double counts);
    // Always exactly 8 characters: "%08d".
    static std::string FormatReading(int32_t reading);

    // A measurement with noise. Uses two draws.
    int32_t Measure(double elapsedSeconds);
    // The counter's answer to one request. Uses six draws.
    ModelReply NextReply(double elapsedSeconds);

  private:
    // Uniform on [0, 1), from the top 53 bits of one draw.
    double Uniform();
    // Box–Muller, written out so that a seed gives the same noise everywhere.
    double StandardNormal();

    ModelConfig config_;
    std::mt19937_64 generator_;
};

}  // namespace quolix
