#include "link/PortNames.h"

#include "link/ComPortMap.h"
#include "link/PortBindings.h"
#include "link/SysfsPortRegistry.h"

namespace quolix {

int PortSlot(int index) {
    return static_cast<unsigned>(index) < static_cast<unsigned>(PortCount) ? index : 0;
}

std::string PortName(int index) {
    return "COM" + std::to_string(PortSlot(index) + 1) + ":";
}

std::string PortDevice(int index) {
    const SysfsPortRegistry registry;
    ComPortMap map(registry, PortBindings::DefaultPath());
    map.Refresh();
    return map.Port(index).device;
}

}  // namespace quolix
