#include "link/SystemPortRegistry.h"

#include "link/SysfsPortRegistry.h"

namespace quolix {

std::unique_ptr<PortRegistry> MakeSystemPortRegistry() {
    return std::make_unique<SysfsPortRegistry>();
}

}  // namespace quolix
