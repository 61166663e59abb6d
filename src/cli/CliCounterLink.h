#pragma once

#include <optional>
#include <string>

#include "link/CounterLink.h"
#include "link/SerialLink.h"

namespace quolix::cli {

// The serial link as the recording view sees it, except that a device named
// on the command line takes the place of the port the settings choose.
class CliCounterLink : public CounterLink {
  public:
    explicit CliCounterLink(std::optional<std::string> device) : device_(std::move(device)) {}

    int OpenPort(int portIndex) override {
        return device_ ? serial_.OpenDevice(*device_) : serial_.OpenPort(portIndex);
    }
    int SendByte(uint8_t byte) override { return serial_.SendByte(byte); }
    int ReceivePending(int32_t& reading) override { return serial_.ReceivePending(reading); }
    void ClosePort() override { serial_.ClosePort(); }
    int Lost() const override { return serial_.Lost(); }
    int OpenError() const override { return serial_.OpenError(); }
    std::string DeviceName() const override { return serial_.DeviceName(); }

    // The device of the last open attempt.
    const std::string& DevicePath() const { return serial_.DevicePath(); }

  private:
    std::optional<std::string> device_;
    SerialLink serial_;
};

}  // namespace quolix::cli
