#pragma once

#include <cstdint>
#include <string>

#include "link/PortOpenError.h"

namespace quolix {

// The counter as the recording view sees it: open the port, send the request
// byte, take any replies that arrived, close. SerialLink is the termios one;
// another platform's link or a test's fake takes its place.
class CounterLink {
  public:
    virtual ~CounterLink() = default;

    // 1 when the port with this index ("COM1:" ... "COM6:") is open, 0 on failure.
    virtual int OpenPort(int portIndex) = 0;
    // Queues one byte without waiting; the result is informational only.
    virtual int SendByte(uint8_t byte) = 0;
    // 1 when at least one complete reply was parsed now; reading then holds the
    // last one. 0 leaves reading untouched.
    virtual int ReceivePending(int32_t& reading) = 0;
    virtual void ClosePort() = 0;

    // 1 once the device went away under an open port (hang-up, I/O error): the
    // link has closed the port itself. The next successful open clears it.
    virtual int Lost() const { return 0; }
    // The last open attempt, successful or not: its COM number and device for
    // the user (empty when unknown) and why it failed.
    virtual PortOpenError LastOpenError() const { return {}; }
};

}  // namespace quolix
