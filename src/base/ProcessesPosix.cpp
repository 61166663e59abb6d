#include "base/Processes.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace quolix::platform {

long long CurrentProcessId() {
    return ::getpid();
}

bool ProcessRuns(long long id) {
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
}

}  // namespace quolix::platform
