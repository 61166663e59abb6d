#include "base/LocalCalendar.h"

namespace quolix::platform {

bool LocalCalendar(std::time_t moment, std::tm& parts) {
    return localtime_r(&moment, &parts) != nullptr;
}

}  // namespace quolix::platform
