#include "link/SerialLink.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <utility>

#include "base/Win32Support.h"

namespace quolix {

namespace {

// The comm handle is kept as a C runtime descriptor, so that the link owns
// it as it owns a terminal on POSIX (UniqueFd closes the handle with it).
HANDLE HandleOf(const UniqueFd& port) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(port.Get()));
}

// 9600 baud 8N1, no flow control of any kind, DTR and RTS on.
void ConfigureLine(HANDLE port, DCB& line) {
    line.BaudRate = CBR_9600;
    line.ByteSize = 8;
    line.Parity = NOPARITY;
    line.StopBits = ONESTOPBIT;
    line.fBinary = TRUE;
    line.fParity = FALSE;
    line.fOutxCtsFlow = FALSE;
    line.fOutxDsrFlow = FALSE;
    line.fDtrControl = DTR_CONTROL_ENABLE;
    line.fRtsControl = RTS_CONTROL_ENABLE;
    line.fDsrSensitivity = FALSE;
    line.fOutX = FALSE;
    line.fInX = FALSE;
    line.fNull = FALSE;
    line.fAbortOnError = FALSE;
    ::SetCommState(port, &line);
    // Reads return at once with what has arrived.
    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};
    ::SetCommTimeouts(port, &timeouts);
}

// What a vanished device answers: wine reports a pseudo-terminal whose other
// end closed as not ready (21), a port whose device had gone when it was
// opened as an invalid function (1); a pulled USB adapter's driver may say
// the device is gone or no longer exists.
bool DeviceGone(DWORD error) {
    return error == ERROR_NOT_READY || error == ERROR_INVALID_FUNCTION ||
           error == ERROR_BAD_COMMAND || error == ERROR_DEVICE_REMOVED ||
           error == ERROR_DEV_NOT_EXIST || error == ERROR_GEN_FAILURE;
}

// The errno a failed open means to the user: a port held by another program
// is refused as access denied on Windows.
int OpenErrno(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION
               ? EBUSY
               : win32::ErrnoFor(error);
}

}  // namespace

int SerialLink::OpenDevice(const std::string& path) {
    ClosePort();
    failure_ = PortOpenError{PortOpenReason::None, 0, {}, path};
    // "COM1" as the system names it; share mode 0: no second opener while
    // this one holds the port.
    const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return FailOpen(OpenErrno(::GetLastError()));
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        return FailOpen(EMFILE);
    }
    UniqueFd port(fd);
    // Only a port has a line state: an ordinary file fails here, and so does
    // a device that went away (which CreateFile may still open).
    ::SetupComm(handle, 4096, 4096);
    DCB line{};
    line.DCBlength = sizeof line;
    if (::GetCommState(handle, &line) == 0) {
        const DWORD error = ::GetLastError();
        return FailOpen(DeviceGone(error) ? ENOENT : ENOTTY);
    }
    ConfigureLine(handle, line);
    // Like the driver settings, not examined: a pseudo-terminal behind a
    // port refuses them.
    ::EscapeCommFunction(handle, SETDTR);
    ::EscapeCommFunction(handle, SETRTS);
    ::PurgeComm(handle, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    port_ = std::move(port);
    lost_ = false;
    return 1;
}

void SerialLink::NoteFailure(int error) {
    if (!DeviceGone(static_cast<DWORD>(error))) {
        return;
    }
    Lose();
}

int SerialLink::SendByte(uint8_t byte) {
    if (!port_.Valid()) {
        return 0;
    }
    DWORD written = 0;
    if (::WriteFile(HandleOf(port_), &byte, 1, &written, nullptr) != 0 && written == 1) {
        return 1;
    }
    NoteFailure(static_cast<int>(::GetLastError()));
    return 0;
}

int SerialLink::ReceivePending(int32_t& reading) {
    if (!port_.Valid()) {
        return 0;
    }
    DWORD errors = 0;
    COMSTAT status{};
    // A device that has gone fails this query (wine: error 21), while
    // ReadFile would only return nothing: the link is lost, not silent.
    if (::ClearCommError(HandleOf(port_), &errors, &status) == 0) {
        NoteFailure(static_cast<int>(::GetLastError()));
        return 0;
    }
    if (status.cbInQue == 0) {
        return 0;
    }
    std::array<uint8_t, DrainLimit> received;
    const DWORD wanted = std::min<DWORD>(status.cbInQue, static_cast<DWORD>(received.size()));
    DWORD got = 0;
    if (::ReadFile(HandleOf(port_), received.data(), wanted, &got, nullptr) == 0) {
        NoteFailure(static_cast<int>(::GetLastError()));
        return 0;
    }
    if (got == 0) {
        return 0;
    }
    return parser_.Feed(received.data(), got, reading);
}

void SerialLink::ClosePort() {
    if (!port_.Valid()) {
        return;
    }
    const HANDLE handle = HandleOf(port_);
    ::PurgeComm(handle, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    ::EscapeCommFunction(handle, CLRDTR);
    ::EscapeCommFunction(handle, CLRRTS);
    port_.Reset();
}

}  // namespace quolix
