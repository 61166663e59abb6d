#pragma once

#include <string>

#include "link/CounterLink.h"
#include "link/PortOpenError.h"
#include "link/SerialLink.h"

namespace quolix::cli {

// The port the command line chose: a COM number's index, or a device.
// Neither: the port of the settings.
struct PortChoice {
    int index = -1;
    std::string device;
};

// The serial link as the recording view sees it, except that a port named
// on the command line takes the place of the port the settings choose.
class CliCounterLink : public CounterLink {
  public:
    explicit CliCounterLink(PortChoice choice) : choice_(std::move(choice)) {}

    int OpenPort(int portIndex) override {
        if (!choice_.device.empty()) {
            return serial_.OpenDevice(choice_.device);
        }
        return serial_.OpenPort(choice_.index >= 0 ? choice_.index : portIndex);
    }
    int SendByte(uint8_t byte) override { return serial_.SendByte(byte); }
    int ReceivePending(int32_t& reading) override { return serial_.ReceivePending(reading); }
    void ClosePort() override { serial_.ClosePort(); }
    int Lost() const override { return serial_.Lost(); }
    PortOpenError LastOpenError() const override { return serial_.LastOpenError(); }

    // The device of the last open attempt.
    const std::string& DevicePath() const { return serial_.DevicePath(); }

  private:
    PortChoice choice_;
    SerialLink serial_;
};

}  // namespace quolix::cli
