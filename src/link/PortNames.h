#pragma once

#include <string>

namespace quolix {

// The six ports the settings offer. An index outside 0..5, compared as an
// unsigned value so that negative ones are outside too, means the first port.
constexpr int PortCount = 6;
int PortSlot(int index);

// "COM1:" ... "COM6:", the name the user chooses from.
std::string PortName(int index);
// "COM1" ... "COM6": the same without the colon, as messages, the bindings
// file and Windows name a port.
std::string ComName(int index);

// The device node behind a port name on this system (see ComPortMap):
// QUOLIX_COM1 ... QUOLIX_COM6 when set and not empty, otherwise the device
// bound to the number for this user; empty when none is. On Windows the
// port's own name ("COM1").
std::string PortDevice(int index);

}  // namespace quolix
