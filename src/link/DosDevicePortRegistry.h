#pragma once

#include <string>
#include <vector>

#include "link/PortRegistry.h"

namespace quolix {

// The serial ports of a Windows system: COM1 ... COM6 as the system names
// them, the ones QueryDosDevice lists (the driver's device in the
// description, e.g. "\Device\Serial0").
class DosDevicePortRegistry : public PortRegistry {
  public:
    std::vector<SerialDevice> PresentDevices() const override;
    std::string PathOf(const std::string& stableName) const override;
};

}  // namespace quolix
