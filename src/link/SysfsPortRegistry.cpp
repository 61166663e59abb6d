#include "link/SysfsPortRegistry.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>
#include <utility>

namespace quolix {

namespace fs = std::filesystem;

namespace {

// How far above a tty's device sysfs may keep the USB device's strings:
// ttyUSB sits two levels below it, ttyACM one.
constexpr int UsbLevels = 4;
constexpr size_t AttributeLimit = 128;

// One line of a sysfs attribute, as printable ASCII: the strings come from
// the device itself and end up in messages and CP932 text.
std::string ReadAttribute(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return {};
    }
    if (line.size() > AttributeLimit) {
        line.resize(AttributeLimit);
    }
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) {
            c = '?';
        }
    }
    const size_t end = line.find_last_not_of(' ');
    line.erase(end == std::string::npos ? 0 : end + 1);
    return line.substr(std::min(line.size(), line.find_first_not_of(' ')));
}

bool HasPrefix(const std::string& text, std::string_view prefix) {
    return text.size() > prefix.size() && text.compare(0, prefix.size(), prefix) == 0 &&
           std::all_of(text.begin() + static_cast<long>(prefix.size()), text.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// ttyS2 before ttyS10; ttyACM before ttyUSB.
bool KernelOrder(const SerialDevice& a, const SerialDevice& b) {
    if (a.kind != b.kind) {
        return a.kind == SerialDevice::Kind::Uart;
    }
    const size_t digitsA = a.kernelName.find_first_of("0123456789");
    const size_t digitsB = b.kernelName.find_first_of("0123456789");
    const std::string stemA = a.kernelName.substr(0, digitsA);
    const std::string stemB = b.kernelName.substr(0, digitsB);
    if (stemA != stemB) {
        return stemA < stemB;
    }
    const size_t lengthA = a.kernelName.size() - digitsA;
    const size_t lengthB = b.kernelName.size() - digitsB;
    return lengthA != lengthB ? lengthA < lengthB : a.kernelName < b.kernelName;
}

// The maker's and product's words of the USB device above a tty.
void DescribeUsb(const fs::path& ttyClass, SerialDevice& device) {
    std::error_code error;
    fs::path at = fs::canonical(ttyClass / "device", error);
    for (int level = 0; !error && level < UsbLevels && at.has_relative_path();
         ++level, at = at.parent_path()) {
        const std::string product = ReadAttribute(at / "product");
        if (product.empty()) {
            continue;
        }
        const std::string maker = ReadAttribute(at / "manufacturer");
        device.description =
            maker.empty() || product.rfind(maker, 0) == 0 ? product : maker + " " + product;
        device.serialNumber = ReadAttribute(at / "serial");
        return;
    }
}

}  // namespace

std::string SysfsPortRegistry::SystemRoot() {
    const char* root = std::getenv("QUOLIX_DEVICE_ROOT");
    return root != nullptr && root[0] == '/' ? std::string(root) : std::string("/");
}

SysfsPortRegistry::SysfsPortRegistry(std::string root) : root_(std::move(root)) {
    while (!root_.empty() && root_.back() == '/') {
        root_.pop_back();
    }
}

std::vector<SerialDevice> SysfsPortRegistry::PresentDevices() const {
    std::error_code error;
    // The stable names the system gives adapters, by the node they point to.
    std::map<std::string, std::string> byId;
    for (fs::directory_iterator at(root_ + "/dev/serial/by-id", error), end; !error && at != end;
         at.increment(error)) {
        std::error_code unreadable;
        const fs::path target = fs::read_symlink(at->path(), unreadable);
        if (!unreadable) {
            const std::string kernel = target.filename().string();
            const std::string name = at->path().filename().string();
            if (byId.count(kernel) == 0 || name < byId[kernel]) {
                byId[kernel] = name;
            }
        }
    }

    std::vector<SerialDevice> devices;
    const fs::path classFolder = root_ + "/sys/class/tty";
    for (fs::directory_iterator at(classFolder, error), end; !error && at != end;
         at.increment(error)) {
        const fs::directory_entry& entry = *at;
        SerialDevice device;
        device.kernelName = entry.path().filename().string();
        device.path = root_ + "/dev/" + device.kernelName;
        std::error_code missing;
        if (!fs::exists(device.path, missing)) {
            continue;
        }
        if (HasPrefix(device.kernelName, "ttyS")) {
            // The kernel makes a ttyS node for every UART it could have; a
            // type of 0 means none answered there.
            const std::string type = ReadAttribute(entry.path() / "type");
            if (type.empty() || type == "0") {
                continue;
            }
            device.kind = SerialDevice::Kind::Uart;
            device.description = "シリアルポート";
        } else if (HasPrefix(device.kernelName, "ttyUSB") ||
                   HasPrefix(device.kernelName, "ttyACM")) {
            DescribeUsb(entry.path(), device);
        } else {
            continue;
        }
        const auto stable = byId.find(device.kernelName);
        device.stableName = stable != byId.end() ? stable->second : device.kernelName;
        devices.push_back(std::move(device));
    }
    std::sort(devices.begin(), devices.end(), KernelOrder);
    return devices;
}

std::string SysfsPortRegistry::PathOf(const std::string& stableName) const {
    return stableName.rfind("tty", 0) == 0 ? root_ + "/dev/" + stableName
                                           : root_ + "/dev/serial/by-id/" + stableName;
}

}  // namespace quolix
