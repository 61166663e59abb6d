#pragma once

#include <string>

namespace quolix {

// Where the settings are read and written. Decided once when a program starts
// and handed to every holder, so that a running program never looks for its
// file again (an executable replaced under a long recording would otherwise
// lead it elsewhere).
struct SettingsLocation {
    // The file saves go to; empty when no place could be found (nothing is
    // saved then).
    std::string file;
    // Read while file does not exist yet: the file beside the executable,
    // which an administrator may provide as a default, when file is the
    // per-user one. Empty otherwise.
    std::string fallback;
    // file is the per-user file: its folder is made by the first save.
    bool perUser = false;

    // The one file given by the user (--settings): read and written, nothing
    // else.
    static SettingsLocation Explicit(std::string path);
    // besideFile when the user can write it (it exists and is writable, or it
    // does not exist and its folder is writable); otherwise perUserFile, with
    // besideFile read until perUserFile exists.
    static SettingsLocation Choose(const std::string& besideFile, const std::string& perUserFile);
    // Choose between besideFile and the per-user file of this environment.
    static SettingsLocation ForProgram(const std::string& besideFile);

    // The file a load reads now: the fallback while it exists and file does
    // not, else file.
    std::string ReadPath() const;
};

// $XDG_CONFIG_HOME/quolix/quolix.ini, else ~/.config/quolix/quolix.ini (an
// XDG_CONFIG_HOME that is not absolute is ignored, as the XDG rules say).
// Empty when no home folder is known.
std::string PerUserSettingsPath();

}  // namespace quolix
