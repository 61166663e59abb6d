#include "link/ComPortMap.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

#include "base/ReplacementFile.h"
#include "base/SystemErrorText.h"

namespace quolix {

namespace {

// A bindings file holds six short lines; anything much longer is not one.
constexpr std::streamsize ReadLimit = 64 * 1024;

std::string EnvironmentDevice(int index) {
    const std::string variable = "QUOLIX_COM" + std::to_string(PortSlot(index) + 1);
    const char* value = std::getenv(variable.c_str());
    return value != nullptr ? std::string(value) : std::string();
}

// The index of a device that is itself named "COM1" ... "COM6"; -1 otherwise.
int OwnNumber(const std::string& stableName) {
    for (int index = 0; index < PortCount; ++index) {
        if (stableName == ComName(index)) {
            return index;
        }
    }
    return -1;
}

}  // namespace

ComPortMap::ComPortMap(const PortRegistry& registry, std::string bindingsPath)
    : registry_(registry), bindingsPath_(std::move(bindingsPath)) {}

Status ComPortMap::Refresh() {
    bindings_ = PortBindings();
    if (!bindingsPath_.empty()) {
        std::ifstream in(bindingsPath_, std::ios::binary);
        std::string text(static_cast<size_t>(ReadLimit), '\0');
        in.read(text.data(), ReadLimit);
        text.resize(static_cast<size_t>(in.gcount()));
        bindings_ = PortBindings::Parse(text);
    }
    present_ = registry_.PresentDevices();
    bool changed = false;
    for (const SerialDevice& device : present_) {
        if (bindings_.IndexOf(device.stableName) >= 0 ||
            !PortBindings::ValidName(device.stableName)) {
            continue;
        }
        // Windows numbers its ports itself: the device it calls COM3 is COM3.
        if (const int own = OwnNumber(device.stableName); own >= 0 && bindings_.Name(own).empty()) {
            bindings_.Bind(own, device.stableName);
            changed = true;
            continue;
        }
        for (int index = 0; index < PortCount; ++index) {
            if (bindings_.Name(index).empty()) {
                bindings_.Bind(index, device.stableName);
                changed = true;
                break;
            }
        }
    }
    return changed ? Store() : Status{};
}

const SerialDevice* ComPortMap::Find(const std::string& stableName) const {
    for (const SerialDevice& device : present_) {
        if (device.stableName == stableName) {
            return &device;
        }
    }
    return nullptr;
}

ComPort ComPortMap::Port(int index) const {
    ComPort port;
    port.name = ComName(index);
    if (std::string device = EnvironmentDevice(index); !device.empty()) {
        std::error_code error;
        port.present = std::filesystem::exists(device, error);
        port.text = device + " (QUOLIX_" + port.name + ")";
        port.device = std::move(device);
        port.fromEnvironment = true;
        return port;
    }
    port.stableName = bindings_.Name(index);
    if (port.stableName.empty()) {
        port.text = "未接続";
        return port;
    }
    if (const SerialDevice* device = Find(port.stableName)) {
        port.device = device->path;
        port.text = DeviceText(*device);
        port.present = true;
        return port;
    }
    // Absent: opening it says so, naming the node it would be.
    port.device = registry_.PathOf(port.stableName);
    port.text = "未接続";
    return port;
}

std::vector<SerialDevice> ComPortMap::Unbound() const {
    std::vector<SerialDevice> unbound;
    for (const SerialDevice& device : present_) {
        if (bindings_.IndexOf(device.stableName) < 0) {
            unbound.push_back(device);
        }
    }
    return unbound;
}

Status ComPortMap::Bind(int index, const std::string& stableName) {
    if (!stableName.empty() && Find(stableName) == nullptr) {
        return Status::Failure("接続されていないデバイスです: " + stableName);
    }
    bindings_.Bind(index, stableName);
    return Store();
}

Status ComPortMap::Store() const {
    if (bindingsPath_.empty()) {
        return Status::Failure("ポートの割り当てを保存する場所がありません (HOME が未設定です)。");
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(bindingsPath_).parent_path(), error);
    const Status written = ReplacementFile::WriteWhole(bindingsPath_, bindings_.Format(),
                                                       ReplacementFile::Flush::Data);
    if (!written.ok) {
        return Status::Failure(bindingsPath_ + ": ポートの割り当てを保存できません。(" +
                                   SystemErrorText(written.error) + ")",
                               written.error);
    }
    return written;
}

}  // namespace quolix
