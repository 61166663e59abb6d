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

// Applies one "SLOT=VALUE" to record. Integer slots take a decimal number
// within the range the application allows for that slot; text slots take
// UTF-8 text that CP932 can hold, without control characters, no longer (in
// CP932 bytes) than the application's own input takes. A failure gives the
// reason and leaves record untouched.
Status ApplySetting(std::string_view assignment, SettingsRecord& record);

std::string FormatSettingsJson(const std::string& path, bool loaded, const SettingsRecord& record);
std::string FormatSettingsText(const std::string& path, bool loaded, const SettingsRecord& record);
// What a slot holds, in words.
std::string_view SlotLabel(int slot);

}  // namespace cli
}  // namespace quolix
