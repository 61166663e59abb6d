#pragma once

#include <string>

namespace quolix {

// Why a port could not be opened, as the user can act on it.
enum class PortProblem { NotFound, NoPermission, InUse, NotTerminal, Other };

// From the errno of a failed open (SerialLink::OpenError or another link's).
PortProblem ClassifyPortError(int error);

// One line for the user, UTF-8: the port, its device and the reason, e.g.
// "COM1 /dev/ttyUSB0: デバイスが見つかりません。"
std::string PortProblemLine(int portIndex, const std::string& device, int error);

// "COM1" ... "COM6" with the device behind it, the way the status bar shows
// it; a device that is not the one the port names stands alone.
std::string PortLabel(int portIndex, const std::string& device);

}  // namespace quolix
