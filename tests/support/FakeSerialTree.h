#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace quolix::testing {

// A root folder with the parts of /dev and /sys that describe serial
// devices, laid out as Linux lays them out (relative links included), for
// the port registry to read instead of the running system's. Removed at the
// end of the test.
class FakeSerialTree {
  public:
    FakeSerialTree() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quolix-ports-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            root_ = pattern;
        }
        Make("dev/serial/by-id");
        Make("sys/class/tty");
    }
    ~FakeSerialTree() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    FakeSerialTree(const FakeSerialTree&) = delete;
    FakeSerialTree& operator=(const FakeSerialTree&) = delete;

    bool Ok() const { return !root_.empty(); }
    const std::string& Root() const { return root_; }
    std::string Dev(const std::string& name) const { return root_ + "/dev/" + name; }

    // ttySn; a UART of type 0 is a node the kernel made with nothing behind it.
    void AddUart(int number, int type) {
        const std::string name = "ttyS" + std::to_string(number);
        const std::string device = "sys/devices/platform/serial8250/tty/" + name;
        Make(device);
        Write(device + "/type", std::to_string(type) + "\n");
        Link("../../devices/platform/serial8250/tty/" + name, "sys/class/tty/" + name);
        Write("dev/" + name, "");
    }

    // A USB adapter: its node, its sysfs strings two levels above the tty as
    // for ttyUSB, and its by-id link when byId is not empty. A device node
    // may be given to stand for the node (a pseudo-terminal's path).
    void AddAdapter(const std::string& kernel, const std::string& byId, const std::string& maker,
                    const std::string& product, const std::string& serial,
                    const std::string& node = {}) {
        const std::string usb = "sys/devices/usb1/1-" + kernel;
        const std::string tty = usb + "/1-1:1.0/" + kernel + "/tty/" + kernel;
        Make(tty);
        Write(usb + "/manufacturer", maker + "\n");
        Write(usb + "/product", product + "\n");
        Write(usb + "/serial", serial + "\n");
        Link("../../../" + kernel, tty + "/device");
        Link("../../devices/usb1/1-" + kernel + "/1-1:1.0/" + kernel + "/tty/" + kernel,
             "sys/class/tty/" + kernel);
        if (node.empty()) {
            Write("dev/" + kernel, "");
        } else {
            Link(node, "dev/" + kernel);
        }
        if (!byId.empty()) {
            Link("../../" + kernel, "dev/serial/by-id/" + byId);
        }
    }

    // The adapter is pulled: its node, links and sysfs entries go.
    void Unplug(const std::string& kernel, const std::string& byId) {
        std::error_code ignored;
        std::filesystem::remove(root_ + "/dev/" + kernel, ignored);
        std::filesystem::remove(root_ + "/sys/class/tty/" + kernel, ignored);
        std::filesystem::remove_all(root_ + "/sys/devices/usb1/1-" + kernel, ignored);
        if (!byId.empty()) {
            std::filesystem::remove(root_ + "/dev/serial/by-id/" + byId, ignored);
        }
    }

  private:
    std::string root_;

    void Make(const std::string& folder) {
        std::error_code ignored;
        std::filesystem::create_directories(root_ + "/" + folder, ignored);
    }
    void Write(const std::string& file, const std::string& text) {
        std::ofstream(root_ + "/" + file, std::ios::binary) << text;
    }
    void Link(const std::string& target, const std::string& at) {
        std::error_code ignored;
        std::filesystem::create_symlink(target, root_ + "/" + at, ignored);
    }
};

}  // namespace quolix::testing
