#include "settings/SettingsLocation.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace quolix {

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// As the file system will judge the write, with the effective ids.
bool UserCanWrite(const std::string& path) {
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0) {
        return true;
    }
    if (errno != ENOENT || Exists(path)) {
        return false;
    }
    return ::faccessat(AT_FDCWD, FolderOf(path).c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

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

SettingsLocation SettingsLocation::Explicit(std::string path) {
    return SettingsLocation{std::move(path), {}, false};
}

SettingsLocation SettingsLocation::Choose(const std::string& besideFile,
                                          const std::string& perUserFile) {
    if (perUserFile.empty() || (!besideFile.empty() && UserCanWrite(besideFile))) {
        return Explicit(besideFile);
    }
    return SettingsLocation{perUserFile, besideFile, true};
}

SettingsLocation SettingsLocation::ForProgram(const std::string& besideFile) {
    return Choose(besideFile, PerUserSettingsPath());
}

std::string SettingsLocation::ReadPath() const {
    return fallback.empty() || Exists(file) || !Exists(fallback) ? file : fallback;
}

std::string PerUserSettingsPath() {
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        config = xdg;
    } else {
        const std::string home = HomeFolder();
        if (home.empty()) {
            return {};
        }
        config = home + (home.back() == '/' ? "" : "/") + ".config";
    }
    if (config.back() != '/') {
        config += '/';
    }
    return config + "quolix/quolix.ini";
}

}  // namespace quolix
