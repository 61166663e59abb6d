#include "cli/ProgramPaths.h"

#include "base/ExecutablePath.h"
#include "settings/SettingsPath.h"

#ifndef QUOLIX_LIBEXEC_FROM_BIN
#define QUOLIX_LIBEXEC_FROM_BIN "../libexec/quolix"
#endif

namespace quolix::cli {

std::string ProgramFolder() {
    const std::string executable = ExecutablePath();
    const std::size_t slash = executable.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? "/" : executable.substr(0, slash);
}

std::string SettingsPathIn(const std::string& folder) {
    if (folder.empty()) {
        return {};
    }
    const std::string separator = folder.back() == '/' ? "" : "/";
    return SettingsPathFor(folder + separator + "quolix");
}

std::vector<std::string> RenderHelperCandidates(const std::string& folder) {
    if (folder.empty()) {
        return {};
    }
    const std::string base = folder.back() == '/' ? folder : folder + "/";
    return {base + RenderHelperName, base + QUOLIX_LIBEXEC_FROM_BIN + "/" + RenderHelperName};
}

}  // namespace quolix::cli
