#pragma once

namespace quolix::platform {

// This process's identifier.
long long CurrentProcessId();
// True while a process with this identifier exists (also one of another
// user's); false only when there certainly is none.
bool ProcessRuns(long long id);

}  // namespace quolix::platform
