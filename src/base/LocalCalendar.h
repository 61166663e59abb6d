#pragma once

#include <ctime>

namespace quolix::platform {

// The local calendar date and time of moment (the system's time zone); false
// when the C library cannot represent it.
bool LocalCalendar(std::time_t moment, std::tm& parts);

}  // namespace quolix::platform
