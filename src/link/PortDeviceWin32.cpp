#include "link/PortNames.h"

namespace quolix {

// The system's own name: CreateFile opens "COM1:" as the first port.
std::string PortDevice(int index) {
    return PortName(index);
}

}  // namespace quolix
