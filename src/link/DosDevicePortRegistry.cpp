#include "link/DosDevicePortRegistry.h"

#include <windows.h>

#include "base/Win32Support.h"
#include "link/PortNames.h"

namespace quolix {

std::vector<SerialDevice> DosDevicePortRegistry::PresentDevices() const {
    std::vector<SerialDevice> devices;
    for (int index = 0; index < PortCount; ++index) {
        const std::wstring name = L"COM" + std::to_wstring(index + 1);
        wchar_t target[512];
        if (::QueryDosDeviceW(name.c_str(), target, sizeof target / sizeof target[0]) == 0) {
            continue;
        }
        SerialDevice device;
        device.kind = SerialDevice::Kind::Uart;
        device.stableName = win32::Utf8FromWide(name);
        device.kernelName = device.stableName;
        device.path = PathOf(device.stableName);
        device.description = win32::Utf8FromWide(target);
        devices.push_back(std::move(device));
    }
    return devices;
}

std::string DosDevicePortRegistry::PathOf(const std::string& stableName) const {
    return stableName + ":";
}

}  // namespace quolix
