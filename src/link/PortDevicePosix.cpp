#include "link/ComPortMap.h"
#include "link/PortBindings.h"
#include "link/PortNames.h"
#include "link/SystemPortRegistry.h"

namespace quolix {

std::string PortDevice(int index) {
    const std::unique_ptr<PortRegistry> registry = MakeSystemPortRegistry();
    ComPortMap map(*registry, PortBindings::DefaultPath());
    map.Refresh();
    return map.Port(index).device;
}

}  // namespace quolix
