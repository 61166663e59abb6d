#pragma once

#include <string>

namespace quolix {

// Why a system call failed, for the "(...)" part of a message to the user:
// Japanese UTF-8 for the failures a user meets with files and devices (not
// found, no permission, disk full, read-only, in use, folder instead of file,
// too large, I/O error), the C library's text for anything rarer.
std::string SystemErrorText(int error);

}  // namespace quolix
