#include "settings/SettingsPath.h"

#include <string_view>

#include "base/ExecutablePath.h"

namespace quolix {

namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    size_t at = 0;
    while ((at = text.find(from, at)) != std::string::npos) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

}  // namespace

std::string SettingsPathFor(const std::string& executablePath) {
    if (executablePath.empty()) {
        return {};
    }
    std::string path = executablePath;
    ReplaceAll(path, ".EXE", ".ini");
    ReplaceAll(path, ".exe", ".ini");
    if (path == executablePath) {
        path += ".ini";
    }
    return path;
}

std::string ExecutableSettingsPath() {
    return SettingsPathFor(ExecutablePath());
}

}  // namespace quolix
