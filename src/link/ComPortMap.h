#pragma once

#include <string>
#include <vector>

#include "base/Status.h"
#include "link/PortBindings.h"
#include "link/PortRegistry.h"
#include "link/SerialDevice.h"

namespace quolix {

// What one COM number means now.
struct ComPort {
    std::string name;        // "COM1"
    std::string stableName;  // the bound device's name; empty when unbound
    std::string device;      // the node to open; empty when there is none
    // Its device in words, UTF-8: "FTDI FT232R USB UART (ttyUSB0)", or
    // "未接続" when nothing is bound or the bound device is absent.
    std::string text;
    bool present = false;
    bool fromEnvironment = false;  // QUOLIX_COMn named the device
};

// COM1 ... COM6 for this user: QUOLIX_COMn when set, else the stored binding,
// else nothing. A device seen for the first time gets the lowest free number
// (machine ports first, then adapters), and that is stored at once, so the
// number stays its own when it is unplugged or comes back as another node.
class ComPortMap {
  public:
    ComPortMap(const PortRegistry& registry, std::string bindingsPath);

    // Reads the stored bindings and the present devices and binds new ones.
    // A failure to store a new binding is returned; the map works without.
    Status Refresh();

    ComPort Port(int index) const;
    const std::vector<SerialDevice>& Devices() const { return present_; }
    // Present devices that no number means.
    std::vector<SerialDevice> Unbound() const;
    // Binds a number to a present device's stable name (it leaves its
    // previous number), or unbinds it with an empty name, and stores that.
    Status Bind(int index, const std::string& stableName);

    const std::string& BindingsPath() const { return bindingsPath_; }

  private:
    const PortRegistry& registry_;
    std::string bindingsPath_;
    PortBindings bindings_;
    std::vector<SerialDevice> present_;

    const SerialDevice* Find(const std::string& stableName) const;
    Status Store() const;
};

}  // namespace quolix
