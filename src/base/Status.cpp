#include "base/Status.h"

#include <system_error>

namespace quolix {

std::string ErrorText(int error) {
    return std::generic_category().message(error);
}

}  // namespace quolix
