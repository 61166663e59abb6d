#include "base/LocalCalendar.h"

namespace quolix::platform {

bool LocalCalendar(std::time_t moment, std::tm& parts) {
    // The C runtime's thread-safe form; its arguments come the other way round.
    return localtime_s(&parts, &moment) == 0;
}

bool UtcOffset(std::time_t moment, int32_t& seconds) {
    // The C runtime's tm has no offset: the local calendar read back as if
    // it were UTC is that far from the moment.
    std::tm local{};
    if (localtime_s(&local, &moment) != 0) {
        return false;
    }
    const std::time_t asUtc = ::_mkgmtime(&local);
    if (asUtc == static_cast<std::time_t>(-1)) {
        return false;
    }
    seconds = static_cast<int32_t>(asUtc - moment);
    return true;
}

}  // namespace quolix::platform
