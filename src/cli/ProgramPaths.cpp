#include "cli/ProgramPaths.h"

#include <unistd.h>

#include "settings/SettingsPath.h"

#ifndef QUOLIX_LIBEXEC_FROM_BIN
#define QUOLIX_LIBEXEC_FROM_BIN "../libexec/quolix"
#endif

namespace quolix {

std::string ProgramPaths::ProgramFolder() {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
        if (length <= 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            break;
        }
        if (target.size() >= 65536) {
            return {};
        }
        target.resize(target.size() * 2);
    }
    const std::size_t slash = target.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? "/" : target.substr(0, slash);
}

std::string ProgramPaths::SettingsPathIn(const std::string& folder) {
    if (folder.empty()) {
        return {};
    }
    const std::string separator = folder.back() == '/' ? "" : "/";
    return SettingsPathFor(folder + separator + "quolix");
}

std::vector<std::string> ProgramPaths::RenderHelperCandidates(const std::string& folder) {
    if (folder.empty()) {
        return {};
    }
    const std::string base = folder.back() == '/' ? folder : folder + "/";
    return {base + RenderHelperName, base + QUOLIX_LIBEXEC_FROM_BIN + "/" + RenderHelperName};
}

}  // namespace quolix
