#include "graph/LocalClock.h"

#include "base/LocalCalendar.h"

namespace quolix {

LocalTime ReadLocalClock() {
    return ToLocalTime(std::time(nullptr));
}

LocalTime ToLocalTime(std::time_t moment) {
    std::tm parts{};
    if (!platform::LocalCalendar(moment, parts)) {
        return LocalTime{};
    }
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

}  // namespace quolix
