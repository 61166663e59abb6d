#pragma once

#include <string>

namespace quolix::platform {

// The folder this user's configuration files belong in: $XDG_CONFIG_HOME, or
// ~/.config (the home folder from HOME, else the user database), on POSIX;
// %APPDATA% on Windows. Empty when there is none.
std::string UserConfigFolder();

}  // namespace quolix::platform
