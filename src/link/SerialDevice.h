#pragma once

#include <string>

namespace quolix {

// One serial device that is present now.
struct SerialDevice {
    enum class Kind {
        Uart,     // a port on the machine itself, e.g. ttyS0
        Adapter,  // a USB adapter or modem, e.g. ttyUSB0, ttyACM0
    };
    Kind kind = Kind::Adapter;
    // The name a COM number is bound to: the adapter's stable name where the
    // system gives one (its /dev/serial/by-id entry), else the kernel's name.
    std::string stableName;
    std::string kernelName;  // "ttyUSB0"
    std::string path;        // the node to open
    // The maker's words, e.g. "FTDI FT232R USB UART"; empty when unknown.
    std::string description;
    std::string serialNumber;
};

// "FTDI FT232R USB UART (ttyUSB0)", or the kernel name alone.
std::string DeviceText(const SerialDevice& device);

}  // namespace quolix
