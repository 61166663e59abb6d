#include "link/PortNames.h"

namespace quolix {

int PortSlot(int index) {
    return static_cast<unsigned>(index) < static_cast<unsigned>(PortCount) ? index : 0;
}

std::string PortName(int index) {
    return ComName(index) + ":";
}

std::string ComName(int index) {
    return "COM" + std::to_string(PortSlot(index) + 1);
}

}  // namespace quolix
