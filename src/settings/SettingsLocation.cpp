#include "settings/SettingsLocation.h"

#include <cerrno>
#include <utility>

#include "base/FileSystem.h"
#include "base/UserFolders.h"

namespace quolix {

namespace {

bool Exists(const std::string& path) {
    platform::FileInfo info;
    return platform::InspectPath(path, info);
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
    if (platform::Writable(path)) {
        return true;
    }
    if (errno != ENOENT || Exists(path)) {
        return false;
    }
    return platform::CanCreateIn(FolderOf(path));
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
    std::string config = platform::UserConfigFolder();
    if (config.empty()) {
        return {};
    }
    if (config.back() != '/') {
        config += '/';
    }
    return config + "quolix/quolix.ini";
}

}  // namespace quolix
