#include "base/LocalCalendar.h"

namespace quolix::platform {

bool LocalCalendar(std::time_t moment, std::tm& parts) {
    // The C runtime's thread-safe form; its arguments come the other way round.
    return localtime_s(&parts, &moment) == 0;
}

}  // namespace quolix::platform
