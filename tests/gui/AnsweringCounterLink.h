#pragma once

#include <cstdint>

#include "link/CounterLink.h"

namespace quolix::testing {

// A counter that has a reply ready at every tick: the port always opens and
// every receive step delivers the same reading.
class AnsweringCounterLink : public CounterLink {
  public:
    explicit AnsweringCounterLink(int32_t reading) : reading_(reading) {}

    int OpenPort(int) override { return 1; }
    int SendByte(uint8_t) override { return 1; }
    int ReceivePending(int32_t& reading) override {
        reading = reading_;
        ++replies;
        return 1;
    }
    void ClosePort() override {}

    int replies = 0;

  private:
    int32_t reading_;
};

}  // namespace quolix::testing
