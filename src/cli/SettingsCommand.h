#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/Status.h"

namespace quolix {

class SettingsRecord;

namespace cli {

struct CliContext;

// quolix-cli settings [--json] [--set SLOT=VALUE]...: shows the thirty slots
// of the settings file shared with the desktop application, and changes them
// through the same settings store.

std::string SettingsUsage();
int SettingsMain(const std::vector<std::string>& args, CliContext& context);

// Applies one "NAME=VALUE" or "SLOT=VALUE" to record. Names stand for the
// slots the settings dialog edits (title1, frame-color, port, resolution...),
// and take values in words where those are clearer: "#rrggbb" for a colour,
// COM1 to COM6, yes or no, 100Hz, 10Hz or 1Hz. Integer slots take a decimal
// number within the range the application allows for that slot (by name,
// the port and the resolution take only their words); text slots take UTF-8
// text that CP932 can hold, without control characters, no longer (in CP932
// bytes) than the application's own input takes. A failure gives the reason
// and leaves record untouched.
Status ApplySetting(std::string_view assignment, SettingsRecord& record);

// What a listing says about the file besides its slots.
struct SettingsShown {
    // The file saves go to.
    std::string path;
    // The file the values were read from: path, or the default beside the
    // programs while the per-user file does not exist.
    std::string readFrom;
    // False when the defaults are shown.
    bool loaded = false;
};

std::string FormatSettingsJson(const SettingsShown& shown, const SettingsRecord& record);
std::string FormatSettingsText(const SettingsShown& shown, const SettingsRecord& record);
// What a slot holds, in words.
std::string_view SlotLabel(int slot);
// A slot's value as the listing shows it: numbers, with the words of named
// slots ("#ff0000 (255)", "COM2 (1)", "1Hz (2)"), texts quoted.
std::string SlotValueText(int slot, const SettingsRecord& record);

}  // namespace cli
}  // namespace quolix
