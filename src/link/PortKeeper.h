#pragma once

#include <cstdint>

namespace quolix {

class CounterLink;

// Keeps the counter's port open across the device going away and coming
// back. It sees the port only through CounterLink, so any platform's link
// plugs in. While the port is wanted but not open (lost, or it could not be
// opened), every RetryTicks-th tick tries to open it again: one open call,
// nothing in between.
class PortKeeper {
  public:
    enum class State {
        Open,     // the port is open
        Waiting,  // wanted but not open: retrying
        Closed,   // closed on purpose: no retries until Connect
    };
    // One try per second at the 250 ms tick.
    static constexpr int32_t RetryTicks = 4;

    explicit PortKeeper(CounterLink& link) : link_(link) {}

    // Opens the port of this index now (closing another one first) and keeps
    // it open from now on. 1 when it opened.
    int Connect(int portIndex);
    // Closes the port and stops retrying until the next Connect.
    void Disconnect();
    // Once per tick: notices a device that went away and, while waiting, tries
    // to open the port again when a try is due. 1 when the port opened now.
    int Tick();
    // Notices a device that went away during this tick's calls.
    void Notice();

    State GetState() const { return state_; }
    bool IsOpen() const { return state_ == State::Open; }
    int PortIndex() const { return portIndex_; }

  private:
    CounterLink& link_;
    State state_ = State::Closed;
    int portIndex_ = 0;
    int32_t untilTry_ = 0;
};

}  // namespace quolix
