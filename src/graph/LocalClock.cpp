#include "graph/LocalClock.h"

namespace quolix {

LocalTime ReadLocalClock() {
    return ToLocalTime(std::time(nullptr));
}

LocalTime ToLocalTime(std::time_t moment) {
    std::tm parts{};
    if (localtime_r(&moment, &parts) == nullptr) {
        return LocalTime{};
    }
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

}  // namespace quolix
