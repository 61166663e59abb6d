#include "link/PortNames.h"

#include "link/ComPortMap.h"
#include "link/PortBindings.h"
#include "link/SysfsPortRegistry.h"

namespace quolix {

std::string PortDevice(int index) {
    const SysfsPortRegistry registry;
    ComPortMap map(registry, PortBindings::DefaultPath());
    map.Refresh();
    return map.Port(index).device;
}

}  // namespace quolix
