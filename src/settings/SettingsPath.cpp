#include "settings/SettingsPath.h"

#include <unistd.h>

#include <string_view>

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
    // readlink does not say whether it truncated; a result that fills the
    // buffer is retried with a larger one.
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
        if (length <= 0) {
            return {};
        }
        if (static_cast<size_t>(length) < target.size()) {
            target.resize(static_cast<size_t>(length));
            return SettingsPathFor(target);
        }
        if (target.size() >= 65536) {
            return {};
        }
        target.resize(target.size() * 2);
    }
}

}  // namespace quolix
