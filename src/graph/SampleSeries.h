#pragma once

#include <cstdint>
#include <span>

namespace quolix {

// A read-only view of a recording's samples, for drawing and for reports:
// times and readings in step, as many of each as Count() says.
struct SampleSeries {
    std::span<const int32_t> times;
    std::span<const int32_t> readings;

    // The first count entries of both arrays: none for a negative count, and
    // no more than the shorter array holds.
    static SampleSeries FirstOf(std::span<const int32_t> times, std::span<const int32_t> readings,
                                int32_t count);

    int32_t Count() const { return static_cast<int32_t>(times.size()); }
};

// The largest distance of any reading from the first one, in counts; 0 when
// there are no samples. Taken in 64 bits: readings from a record file may lie
// farther apart than 32 bits can hold.
int64_t LargestDeviation(const SampleSeries& samples);

}  // namespace quolix
