#pragma once

#include <string>

namespace quolix {

// The running executable's path (/proc/self/exe, symbolic links resolved;
// GetModuleFileNameW with / as separator on Windows);
// empty when it cannot be read.
std::string ExecutablePath();

}  // namespace quolix
