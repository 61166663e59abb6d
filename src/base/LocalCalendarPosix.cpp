#include "base/LocalCalendar.h"

namespace quolix::platform {

bool LocalCalendar(std::time_t moment, std::tm& parts) {
    return localtime_r(&moment, &parts) != nullptr;
}

bool UtcOffset(std::time_t moment, int32_t& seconds) {
    std::tm local{};
    if (localtime_r(&moment, &local) == nullptr) {
        return false;
    }
    seconds = static_cast<int32_t>(local.tm_gmtoff);
    return true;
}

}  // namespace quolix::platform
