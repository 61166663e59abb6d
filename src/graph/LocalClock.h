#pragma once

#include <cstdint>
#include <ctime>

namespace quolix {

// A local calendar date and time of day, month and day counted from 1.
struct LocalTime {
    int32_t year = 0;
    int32_t month = 0;
    int32_t day = 0;
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
    bool operator==(const LocalTime&) const = default;
};

// The local time now.
LocalTime ReadLocalClock();
// The local time at a given moment; all zero when the moment cannot be
// converted (a year beyond what the C library can represent).
LocalTime ToLocalTime(std::time_t moment);

}  // namespace quolix
