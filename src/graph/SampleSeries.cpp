#include "graph/SampleSeries.h"

#include <algorithm>
#include <cstddef>

namespace quolix {

SampleSeries SampleSeries::FirstOf(std::span<const int32_t> times,
                                   std::span<const int32_t> readings, int32_t count) {
    const std::size_t wanted = count > 0 ? static_cast<std::size_t>(count) : 0;
    const std::size_t n = std::min({wanted, times.size(), readings.size()});
    return SampleSeries{times.first(n), readings.first(n)};
}

int64_t LargestDeviation(const SampleSeries& samples) {
    if (samples.Count() == 0) {
        return 0;
    }
    const int64_t first = samples.readings[0];
    int64_t largest = 0;
    for (const int32_t reading : samples.readings) {
        const int64_t deviation = reading - first;
        largest = std::max(largest, deviation < 0 ? -deviation : deviation);
    }
    return largest;
}

}  // namespace quolix
