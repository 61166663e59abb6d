#include "link/PortKeeper.h"

#include "link/CounterLink.h"

namespace quolix {

int PortKeeper::Connect(int portIndex) {
    if (state_ == State::Open) {
        link_.ClosePort();
    }
    portIndex_ = portIndex;
    untilTry_ = RetryTicks;
    if (link_.OpenPort(portIndex) == 1) {
        state_ = State::Open;
        return 1;
    }
    state_ = State::Waiting;
    return 0;
}

void PortKeeper::Disconnect() {
    if (state_ == State::Open) {
        link_.ClosePort();
    }
    state_ = State::Closed;
}

void PortKeeper::Notice() {
    if (state_ == State::Open && link_.Lost() == 1) {
        // The device has only just gone: the first try is a second away.
        state_ = State::Waiting;
        untilTry_ = RetryTicks;
    }
}

int PortKeeper::Tick() {
    Notice();
    if (state_ != State::Waiting || --untilTry_ > 0) {
        return 0;
    }
    untilTry_ = RetryTicks;
    if (link_.OpenPort(portIndex_) != 1) {
        return 0;
    }
    state_ = State::Open;
    return 1;
}

}  // namespace quolix
