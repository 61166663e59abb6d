#include "link/SerialDevice.h"

namespace quolix {

std::string DeviceText(const SerialDevice& device) {
    return device.description.empty() ? device.kernelName
                                      : device.description + " (" + device.kernelName + ")";
}

}  // namespace quolix
