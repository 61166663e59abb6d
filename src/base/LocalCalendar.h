#pragma once

#include <cstdint>
#include <ctime>

namespace quolix::platform {

// The local calendar date and time of moment (the system's time zone); false
// when the C library cannot represent it.
bool LocalCalendar(std::time_t moment, std::tm& parts);
// How far the local time is ahead of UTC at moment, in seconds; false (and
// seconds untouched) when it cannot be told.
bool UtcOffset(std::time_t moment, int32_t& seconds);

}  // namespace quolix::platform
