#pragma once

#include <string>
#include <string_view>

#include "settings/SettingsLocation.h"
#include "settings/SettingsRecord.h"

namespace quolix {

// Keeps the settings file: 31 CR LF lines, the header and one line per slot.
// A short-lived object: construct, call one operation, let it go. Loading is
// all or nothing: any failure gives the complete defaults.
class SettingsStore {
  public:
    static constexpr std::string_view Header = "Quolix V1.001";

    // Defaults applied; the files are those the program chose at start-up.
    explicit SettingsStore(SettingsLocation location);
    // One file, read and written (tests, --settings).
    explicit SettingsStore(std::string settingsPath);

    // Fills record with the file's thirty slots, or with the defaults when the
    // file is missing or not entirely good. True only when the file was read.
    bool LoadInto(SettingsRecord& record);
    // Replaces the file with record (record itself is not changed): the new
    // file reaches the disk before it takes the old one's name, so a save that
    // fails or is cut short leaves the previous file whole. True only when the
    // whole file was saved.
    bool SaveFrom(const SettingsRecord& record);

    // The file saves go to.
    const std::string& Path() const { return location_.file; }
    // After a failed SaveFrom: the errno behind it, and a message for the user
    // (UTF-8) that names the file and gives the reason. 0 and empty otherwise.
    int SaveError() const { return saveError_; }
    std::string SaveFailureReason() const;
    std::string SaveFailureMessage() const;

  private:
    bool Load();
    bool Save();
    bool Refuse(int error);

    SettingsRecord record_;
    SettingsLocation location_;
    int saveError_ = 0;
};

}  // namespace quolix
