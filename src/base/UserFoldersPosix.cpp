#include "base/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace quolix::platform {

namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return home;
    }
    // Services and su without -l may run without HOME.
    const passwd* entry = ::getpwuid(::geteuid());
    if (entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/') {
        return entry->pw_dir;
    }
    return {};
}

}  // namespace

std::string UserConfigFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        return xdg;
    }
    const std::string home = HomeFolder();
    if (home.empty()) {
        return {};
    }
    return home + (home.back() == '/' ? "" : "/") + ".config";
}

}  // namespace quolix::platform
