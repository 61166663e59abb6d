#include "counter-sim/CounterModel.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace quolix {

CounterModel::CounterModel(const ModelConfig& config) : config_(config), generator_(config.seed) {}

int32_t CounterModel::HzPerCount(int resolution) {
    switch (resolution) {
        case 1:
            return 10;
        case 2:
            return 1;
        default:
            return 100;
    }
}

double CounterModel::ExpectedCounts(double elapsedSeconds) const {
    const double hours = elapsedSeconds / 3600.0;
    const double hz = config_.freqHz * (1.0 + config_.driftPpmPerHour * 1e-6 * hours);
    return hz / HzPerCount(config_.resolution);
}

int32_t CounterModel::ClampReading(double counts) {
    if (std::isnan(counts)) {
        return 0;
    }
    const double rounded = std::round(counts);
    if (rounded <= MinReading) {
        return MinReading;
    }
    if (rounded >= MaxReading) {
        return MaxReading;
    }
    return static_cast<int32_t>(rounded);
}

std::string CounterModel::FormatReading(int32_t reading) {
    char text[16];
    std::snprintf(text, sizeof text, "%08d", static_cast<int>(ClampReading(reading)));
    return text;
}

int32_t CounterModel::Measure(double elapsedSeconds) {
    const double noise = StandardNormal() * config_.noiseCounts;
    return ClampReading(ExpectedCounts(elapsedSeconds) + noise);
}

ModelReply CounterModel::NextReply(double elapsedSeconds) {
    // Draw everything first, so that the sequence does not depend on which
    // faults are switched on.
    const double dropDraw = Uniform();
    const double malformedDraw = Uniform();
    const double shapeDraw = Uniform();
    const double lateDraw = Uniform();
    const int32_t reading = Measure(elapsedSeconds);

    ModelReply reply;
    if (dropDraw < config_.dropProbability) {
        reply.kind = ModelReply::Kind::Dropped;
        return reply;
    }
    std::string text = FormatReading(reading);
    if (malformedDraw < config_.malformedProbability) {
        reply.kind = ModelReply::Kind::Malformed;
        // One character short or one too many: both must be dropped.
        if (shapeDraw < 0.5) {
            text.pop_back();
        } else {
            text.push_back(text.back());
        }
    }
    reply.bytes = text + "\r\n";
    if (lateDraw < config_.lateProbability) {
        reply.delayMs = config_.lateMs;
    }
    return reply;
}

double CounterModel::Uniform() {
    return static_cast<double>(generator_() >> 11) * 0x1.0p-53;
}

double CounterModel::StandardNormal() {
    // 1 - u lies in (0, 1], so the logarithm is finite.
    const double u1 = 1.0 - Uniform();
    const double u2 = Uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
}

}  // namespace quolix
