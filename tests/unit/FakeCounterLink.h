#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "link/CounterLink.h"

namespace quolix::testing {

// A counter link whose replies are scripted: each ReceivePending takes the next
// scripted entry (a reading, or nullopt for "nothing complete arrived"); once
// the script is used up every call gets `afterScript`.
class FakeCounterLink : public CounterLink {
  public:
    int OpenPort(int portIndex) override {
        openedIndices.push_back(portIndex);
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
        if (!reply) {
            return 0;
        }
        reading = *reply;
        return 1;
    }
    void ClosePort() override { ++closeCalls; }

    int openResult = 1;
    std::deque<std::optional<int32_t>> script;
    std::optional<int32_t> afterScript;

    std::vector<int> openedIndices;
    std::vector<uint8_t> sentBytes;
    int receiveCalls = 0;
    int closeCalls = 0;
};

}  // namespace quolix::testing
