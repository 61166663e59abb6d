#include "link/SystemPortRegistry.h"

#include "link/DosDevicePortRegistry.h"

namespace quolix {

std::unique_ptr<PortRegistry> MakeSystemPortRegistry() {
    return std::make_unique<DosDevicePortRegistry>();
}

}  // namespace quolix
