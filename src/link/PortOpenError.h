#pragma once

#include <string>

namespace quolix {

// Why a port could not be opened, in the words a user can act on.
enum class PortOpenReason {
    None,          // it opened
    NotAssigned,   // no device is bound to the COM number
    NotPresent,    // the device node does not exist (adapter unplugged)
    NoPermission,  // the user is not in the group that owns serial devices
    InUse,         // another program holds the port
    NotATerminal,  // the path names something that is not a serial device
    Other,
};

// The reason for a failed open's errno; ENOTTY for a path that opened but is
// not a terminal.
PortOpenReason PortOpenReasonFor(int error);

// What the last open attempt left behind: the COM number's name ("COM1",
// empty when a device was named directly), the device and why it failed.
struct PortOpenError {
    PortOpenReason reason = PortOpenReason::None;
    int error = 0;  // errno of the failed call, 0 when none failed
    std::string port;
    std::string device;
};

// The port as the status bar shows it, "COM1 /dev/ttyUSB0"; either alone when
// the other is not known.
std::string PortLabel(const PortOpenError& attempt);

// One line in UTF-8, e.g. "COM1 /dev/ttyUSB0: 他のプログラムが使用中です。";
// no permission adds the command that puts the user into the dialout group.
std::string PortOpenErrorText(const PortOpenError& failure);

}  // namespace quolix
