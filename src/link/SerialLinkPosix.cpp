#include "link/SerialLink.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace quolix {

namespace {

// Raw 9600 baud 8N1 with no flow control of any kind; reads return at once
// with whatever has arrived. Like the driver settings on the original
// platform, the results are not examined: a pseudo-terminal refuses some.
void ConfigureLine(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        return;
    }
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    // Whatever a previous program left: bytes with parity or framing errors
    // must reach the parser as they are, not be dropped, marked or stripped.
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK | ISTRIP |
                                          IGNBRK | BRKINT | INLCR | IGNCR | ICRNL);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &tio);
}

// What a vanished device answers: a hung-up terminal (adapter pulled,
// pseudo-terminal master closed) or a driver whose device is gone.
bool DeviceGone(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}

}  // namespace

int SerialLink::OpenDevice(const std::string& path) {
    ClosePort();
    failure_ = PortOpenError{PortOpenReason::None, 0, {}, path};
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
        return FailOpen(errno);
    }
    // Only a terminal is a port: a mistyped path to an ordinary file would
    // otherwise have a carriage return written into it every 250 ms.
    if (::isatty(fd.Get()) != 1) {
        return FailOpen(ENOTTY);
    }
    // The lock turns away every later opener that asks for it, root included;
    // TIOCEXCL turns away the rest, except root. Both come before any setting,
    // so that a refused opener leaves the holder's line and queues alone.
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        return FailOpen(errno == EWOULDBLOCK ? EBUSY : errno);
    }
    ::ioctl(fd.Get(), TIOCEXCL);
    ConfigureLine(fd.Get());
    ::tcflush(fd.Get(), TCIOFLUSH);
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd.Get(), TIOCMBIS, &lines);
    port_ = std::move(fd);
    lost_ = false;
    return 1;
}

void SerialLink::NoteFailure(int error) {
    if (!DeviceGone(error)) {
        return;
    }
    // Without the settings and flushes of ClosePort that a dead device
    // refuses anyway: while a descriptor stays open the kernel cannot give a
    // returning adapter its old name.
    Lose();
}

int SerialLink::SendByte(uint8_t byte) {
    if (!port_.Valid()) {
        return 0;
    }
    if (::write(port_.Get(), &byte, 1) == 1) {
        return 1;
    }
    NoteFailure(errno);
    return 0;
}

int SerialLink::ReceivePending(int32_t& reading) {
    if (!port_.Valid()) {
        return 0;
    }
    // A device that has gone (adapter pulled, pseudo-terminal master closed)
    // fails this query with EIO: the link is lost, not merely silent.
    int waiting = 0;
    if (::ioctl(port_.Get(), FIONREAD, &waiting) != 0) {
        NoteFailure(errno);
        return 0;
    }
    if (waiting <= 0) {
        return 0;
    }
    std::array<uint8_t, DrainLimit> received;
    const size_t wanted = std::min(static_cast<size_t>(waiting), received.size());
    const ssize_t got = ::read(port_.Get(), received.data(), wanted);
    if (got <= 0) {
        // End of file where bytes were waiting is a hang-up.
        NoteFailure(got == 0 ? EIO : errno);
        return 0;
    }
    return parser_.Feed(received.data(), static_cast<size_t>(got), reading);
}

void SerialLink::ClosePort() {
    if (!port_.Valid()) {
        return;
    }
    const int fd = port_.Get();
    ::tcflush(fd, TCIOFLUSH);
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIC, &lines);
    // Without this a non-root program could not open the device again while
    // anyone else still has it open.
    ::ioctl(fd, TIOCNXCL);
    port_.Reset();
}

}  // namespace quolix
