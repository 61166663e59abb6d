#pragma once

#include <string>
#include <vector>

#include "link/PortRegistry.h"

namespace quolix {

// The serial devices of a Linux system, read under a root folder ("/" for
// the running system, a fake tree in tests): USB adapters by their
// /dev/serial/by-id name, other ttyUSB and ttyACM nodes by their kernel name,
// and ttyS nodes only where sysfs shows a UART behind them.
class SysfsPortRegistry : public PortRegistry {
  public:
    explicit SysfsPortRegistry(std::string root = SystemRoot());

    // "/", or QUOLIX_DEVICE_ROOT when set: a fake tree that end-to-end tests
    // give the programs.
    static std::string SystemRoot();

    std::vector<SerialDevice> PresentDevices() const override;
    std::string PathOf(const std::string& stableName) const override;

  private:
    std::string root_;
};

}  // namespace quolix
