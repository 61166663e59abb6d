#include "base/Processes.h"

#include <windows.h>

namespace quolix::platform {

long long CurrentProcessId() {
    return ::GetCurrentProcessId();
}

bool ProcessRuns(long long id) {
    if (id <= 0 || id > static_cast<long long>(MAXDWORD)) {
        return false;
    }
    const HANDLE process =
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) {
        // No such process; any other refusal means one exists.
        return ::GetLastError() != ERROR_INVALID_PARAMETER;
    }
    DWORD status = 0;
    const bool running = ::GetExitCodeProcess(process, &status) == 0 || status == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
}

}  // namespace quolix::platform
