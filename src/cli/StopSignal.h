#pragma once

#include "base/StopRequests.h"

namespace quolix::cli {

// SIGINT, SIGTERM, SIGHUP (Ctrl+C, Ctrl+Break, a closed console on Windows)
// end a recording in order: the loop writes its file once more and returns.
using StopSignal = platform::StopRequests;

}  // namespace quolix::cli
