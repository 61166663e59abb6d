#pragma once

#include <string>
#include <string_view>

#include "settings/SettingsRecord.h"

namespace quolix {

// Keeps the settings file: 31 CR LF lines, the header and one line per slot.
// A short-lived object: construct, call one operation, let it go. Loading is
// all or nothing: any failure gives the complete defaults.
class SettingsStore {
  public:
    static constexpr std::string_view Header = "Quolix V1.001";

    // Defaults applied; the path is the running executable's ".ini" file.
    SettingsStore();
    // An explicit settings file (tests, the command-line tool).
    explicit SettingsStore(std::string settingsPath);
    // The given settings file, or the executable's when the path is empty:
    // how every holder that can be pointed elsewhere makes its store.
    static SettingsStore ForPath(const std::string& pathOrEmpty);

    // Fills record with the file's thirty slots, or with the defaults when the
    // file is missing or not entirely good. True only when the file was read.
    bool LoadInto(SettingsRecord& record);
    // Writes record to the file (record itself is not changed). True only when
    // all 31 lines reached the file.
    bool SaveFrom(const SettingsRecord& record);

    const std::string& Path() const { return settingsPath_; }

  private:
    bool Load();
    bool Save();

    SettingsRecord record_;
    std::string settingsPath_;
};

}  // namespace quolix
