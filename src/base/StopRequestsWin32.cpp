#include "base/StopRequests.h"

#include <windows.h>

#include "base/Win32Support.h"

namespace quolix::platform {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

// Events live as long as the process: the console's handler thread may use
// them at any moment.
HANDLE ManualEvent() {
    return ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
}
const HANDLE stopEvent = ManualEvent();
// Set when the object goes, that is when the loop has written its file.
const HANDLE finishedEvent = ManualEvent();

// Closing the console (and logging off, shutting down) ends the process as
// soon as the handler returns; the handler waits, within the few seconds
// Windows allows, for the loop to finish writing.
constexpr DWORD FinishWaitMs = 4000;

BOOL WINAPI OnConsoleControl(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            stopRequested = 1;
            ::SetEvent(stopEvent);
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            stopRequested = 1;
            ::SetEvent(stopEvent);
            ::WaitForSingleObject(finishedEvent, FinishWaitMs);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

StopRequests::StopRequests() {
    ::ResetEvent(finishedEvent);
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

StopRequests::~StopRequests() {
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    ::SetEvent(finishedEvent);
}

const volatile std::sig_atomic_t& StopRequests::Flag() {
    return stopRequested;
}

void StopRequests::Clear() {
    stopRequested = 0;
    ::ResetEvent(stopEvent);
}

}  // namespace quolix::platform

namespace quolix::win32 {

void* StopEvent() {
    return platform::stopEvent;
}

}  // namespace quolix::win32
