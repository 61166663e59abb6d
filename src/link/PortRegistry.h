#pragma once

#include <string>
#include <vector>

#include "link/SerialDevice.h"

namespace quolix {

// The serial devices the system has, one implementation per platform.
class PortRegistry {
  public:
    virtual ~PortRegistry() = default;
    // The devices present now: machine ports in their own order, then
    // adapters in the order of their kernel names.
    virtual std::vector<SerialDevice> PresentDevices() const = 0;
    // The node a stable name means while its device is absent, for the
    // message that says it is not present.
    virtual std::string PathOf(const std::string& stableName) const = 0;
};

}  // namespace quolix
