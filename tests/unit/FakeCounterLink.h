#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "link/CounterLink.h"
#include "link/PortNames.h"

namespace quolix::testing {

// A counter link whose replies are scripted: each ReceivePending takes the next
// scripted entry (a reading, or nullopt for "nothing complete arrived"); once
// the script is used up every call gets `afterScript`. Vanish() takes the
// device away as an unplugged adapter would; replies are then not delivered.
class FakeCounterLink : public CounterLink {
  public:
    int OpenPort(int portIndex) override {
        openedIndices.push_back(portIndex);
        open = openResult == 1;
        if (open) {
            lost = 0;
        }
        return openResult;
    }
    int SendByte(uint8_t byte) override {
        sentBytes.push_back(byte);
        return 1;
    }
    int ReceivePending(int32_t& reading) override {
        ++receiveCalls;
        std::optional<int32_t> reply = afterScript;
        if (!script.empty()) {
            reply = script.front();
            script.pop_front();
        }
        if (!reply || !open) {
            return 0;
        }
        reading = *reply;
        return 1;
    }
    void ClosePort() override {
        ++closeCalls;
        open = false;
    }
    int Lost() const override { return lost; }
    PortOpenError LastOpenError() const override {
        if (openedIndices.empty()) {
            return {};
        }
        const int error = open ? 0 : openError;
        // COM1 stands for /dev/ttyUSB0 here, whatever the machine has.
        const int slot = PortSlot(openedIndices.back());
        return {error == 0 ? PortOpenReason::None : PortOpenReasonFor(error), error,
                "COM" + std::to_string(slot + 1), "/dev/ttyUSB" + std::to_string(slot)};
    }

    void Vanish() {
        open = false;
        lost = 1;
    }

    int openResult = 1;
    int openError = 2;  // ENOENT
    std::deque<std::optional<int32_t>> script;
    std::optional<int32_t> afterScript;

    bool open = false;
    int lost = 0;
    std::vector<int> openedIndices;
    std::vector<uint8_t> sentBytes;
    int receiveCalls = 0;
    int closeCalls = 0;
};

}  // namespace quolix::testing
