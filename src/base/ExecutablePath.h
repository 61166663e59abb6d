#pragma once

#include <string>

namespace quolix {

// The running executable's path (/proc/self/exe), symbolic links resolved;
// empty when it cannot be read.
std::string ExecutablePath();

}  // namespace quolix
