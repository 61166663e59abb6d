#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "graph/SampleSeries.h"

namespace quolix {

// How the graph's axes are divided, computed afresh from the samples at
// every paint. Deviations and units are in reading counts, times in seconds.
struct GraphScale {
    int32_t firstReading = 0;  // value on the centre line
    int32_t firstTime = 0;
    int32_t timeSpan = 0;  // seconds across the whole width: timeDivisions x division
    int32_t timeDivisions = 0;
    std::string timeLabel;
    int32_t deviationSpan = 0;       // counts at the top edge: deviationDivisions x deviationUnit
    int32_t deviationDivisions = 0;  // per half of the frame
    int32_t sampleCount = 0;
    int32_t deviationUnit = 0;  // counts per deviation division
};

struct TimeDivision {
    int32_t seconds;
    std::string_view label;  // always five characters
};

// Time divisions from 10 s to one week; the negative entry is a sentinel
// that is never chosen.
inline constexpr std::array<TimeDivision, 10> TimeDivisionTable = {{
    {10, "10sec"},
    {30, "30sec"},
    {60, " 1min"},
    {600, "10min"},
    {1800, "30min"},
    {3600, "1hour"},
    {21600, "6hour"},
    {86400, " 1day"},
    {604800, "1week"},
    {-1, "-----"},
}};

// The axes for these samples.
GraphScale ComputeScale(const SampleSeries& samples);

}  // namespace quolix
