#pragma once

#include <string>

namespace quolix {

// The settings file that belongs to an executable: every ".EXE", then every
// ".exe" replaced by ".ini" (other case mixes untouched), and ".ini" appended
// when nothing was replaced, so the result never names the executable itself.
// An empty path stays empty.
std::string SettingsPathFor(const std::string& executablePath);

// SettingsPathFor the running executable (/proc/self/exe); empty when that
// cannot be read, so the settings are then neither loaded nor saved.
std::string ExecutableSettingsPath();

}  // namespace quolix
