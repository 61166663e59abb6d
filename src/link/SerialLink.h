#pragma once

#include <cstdint>
#include <string>

#include "base/UniqueFd.h"
#include "link/CounterLink.h"
#include "link/PortOpenError.h"
#include "link/ReplyParser.h"

namespace quolix {

// The counter on a termios serial device. One object holds the whole state of
// the link: the port and the reply accumulator, which outlives closing and
// re-opening the port. The desktop application owns one; tests make their own.
class SerialLink : public CounterLink {
  public:
    // Most bytes taken from the port per drain; the rest waits for the next.
    static constexpr size_t DrainLimit = 1024;

    SerialLink() = default;
    ~SerialLink() override;
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // Opens the device behind "COM1:" ... "COM6:" (see PortDevice).
    int OpenPort(int portIndex) override;
    // Opens a device node by path: exclusively, raw 9600 8N1, no flow control,
    // DTR and RTS on. 1 on success, 0 when the node is missing, is not a
    // terminal, or is held by another opener (LastOpenError says which). A port
    // already open here is closed first: there is one port at a time.
    int OpenDevice(const std::string& path);
    int SendByte(uint8_t byte) override;
    int ReceivePending(int32_t& reading) override;
    // Drops DTR and RTS, discards both queues and closes. Harmless when nothing
    // is open or the device has vanished.
    void ClosePort() override;

    int Lost() const override { return lost_ ? 1 : 0; }
    PortOpenError LastOpenError() const override { return failure_; }

    bool IsOpen() const { return port_.Valid(); }
    // The device of the last open attempt, successful or not, for messages.
    const std::string& DevicePath() const { return failure_.device; }

  private:
    int FailOpen(int error);
    // Closes the port at once when error says the device is gone.
    void NoteFailure(int error);
    // Marks the link lost and closes it without a word to the device.
    void Lose();

    UniqueFd port_;
    ReplyParser parser_;
    PortOpenError failure_;
    bool lost_ = false;
};

}  // namespace quolix
