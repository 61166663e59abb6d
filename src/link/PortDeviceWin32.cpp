#include "link/PortNames.h"

namespace quolix {

// The system's own name, which CreateFile opens as the port: "COM1" (the
// colon of "COM1:" would show doubled in "COM1: message").
std::string PortDevice(int index) {
    return ComName(index);
}

}  // namespace quolix
