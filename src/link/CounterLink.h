#pragma once

#include <cstdint>

namespace quolix {

// The counter as the recording view sees it: open the port, send the request
// byte, take any replies that arrived, close. SerialLink is the real one;
// tests substitute fakes.
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
};

}  // namespace quolix
