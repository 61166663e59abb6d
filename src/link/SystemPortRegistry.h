#pragma once

#include <memory>

#include "link/PortRegistry.h"

namespace quolix {

// The serial devices of the system the program runs on: SysfsPortRegistry on
// Linux, DosDevicePortRegistry on Windows.
std::unique_ptr<PortRegistry> MakeSystemPortRegistry();

}  // namespace quolix
