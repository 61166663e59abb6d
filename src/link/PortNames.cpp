#include "link/PortNames.h"

#include <cstdlib>

namespace quolix {

int PortSlot(int index) {
    return static_cast<unsigned>(index) < static_cast<unsigned>(PortCount) ? index : 0;
}

std::string PortName(int index) {
    return "COM" + std::to_string(PortSlot(index) + 1) + ":";
}

std::string PortDevice(int index) {
    const int slot = PortSlot(index);
    const std::string variable = "QUOLIX_COM" + std::to_string(slot + 1);
    const char* value = std::getenv(variable.c_str());
    if (value != nullptr && value[0] != '\0') {
        return value;
    }
    return "/dev/ttyS" + std::to_string(slot);
}

}  // namespace quolix
