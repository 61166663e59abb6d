#include "graph/GraphScale.h"

#include <algorithm>
#include <limits>

namespace quolix {

namespace {

constexpr int32_t MaxDivisionsPasses = 1000;

// The time axis: the first division d of the table with elapsed < 15 d, in as
// many divisions as elapsed needs plus one.
void ComputeTimeAxis(int64_t elapsed, GraphScale& scale) {
    // A last sample earlier than the first (only from a record file) is drawn
    // like a single sample: the span must stay positive, since the data line
    // divides by it.
    elapsed = std::max<int64_t>(elapsed, 0);
    size_t index = 0;
    while (TimeDivisionTable[index].seconds >= 0 &&
           elapsed >= static_cast<int64_t>(TimeDivisionTable[index].seconds) * 15) {
        ++index;
    }
    if (TimeDivisionTable[index].seconds < 0) {
        --index;  // beyond 15 weeks: whole weeks, as many as needed
    }
    const TimeDivision& division = TimeDivisionTable[index];
    // Times 2^31 s apart would need a span beyond 32 bits; the division count
    // is capped so that the span still fits, and such far samples lie right
    // of the frame.
    const int64_t maxDivisions = std::numeric_limits<int32_t>::max() / division.seconds;
    const int64_t divisions = std::min<int64_t>(elapsed / division.seconds + 1, maxDivisions);
    scale.timeDivisions = static_cast<int32_t>(divisions);
    scale.timeSpan = static_cast<int32_t>(divisions * division.seconds);
    scale.timeLabel.assign(division.label);
}

}  // namespace

GraphScale ComputeScale(const SampleSeries& samples) {
    GraphScale scale;
    const int32_t count = samples.Count();
    scale.sampleCount = count;

    if (count == 0) {
        scale.timeDivisions = 1;
        scale.timeSpan = TimeDivisionTable[0].seconds;
        scale.timeLabel.assign(TimeDivisionTable[0].label);
        scale.deviationDivisions = 1;
        scale.deviationSpan = 1;
        scale.firstReading = 0;
        scale.firstTime = 0;
        // Never read for an empty store; the smallest unit keeps it harmless.
        scale.deviationUnit = 10;
        return scale;
    }

    const size_t last = static_cast<size_t>(count - 1);
    ComputeTimeAxis(static_cast<int64_t>(samples.times[last]) - samples.times[0], scale);

    // The largest deviation whose span (2 x 10^9) still fits in 32 bits.
    // Samples farther from the first reading lie beyond the frame's edge.
    constexpr int64_t LargestShownDeviation = 1'999'999'999;
    const int64_t largest = std::min(LargestDeviation(samples), LargestShownDeviation);

    int64_t unit = 10;
    int64_t divisions = largest / unit + 1;
    for (int32_t pass = 0; divisions >= 20 && pass < MaxDivisionsPasses; ++pass) {
        unit *= 10;
        divisions = largest / unit + 1;
    }
    scale.deviationDivisions = static_cast<int32_t>(divisions);
    scale.deviationSpan = static_cast<int32_t>(divisions * unit);
    scale.deviationUnit = static_cast<int32_t>(unit);
    scale.firstReading = samples.readings[0];
    scale.firstTime = samples.times[0];
    return scale;
}

}  // namespace quolix
