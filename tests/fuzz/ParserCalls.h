#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "acquisition/CQuolixDoc.h"
#include "framework/Archive.h"
#include "settings/SettingsRecord.h"

// The only place where the harnesses name the entry points of the parsers, so
// that a change of those names touches these few lines and nothing else.
namespace quolix::fuzz {

// Opens a record file the way the application's Open command does; true when
// the document took it.
bool OpenRecording(CQuolixDoc& doc, const std::string& path);
// Loads recording bytes from memory; the archive's verdict.
ArchiveError LoadRecording(CQuolixDoc& doc, std::span<const uint8_t> bytes);
// The bytes a save of the document writes; false when storing failed.
bool StoreRecording(CQuolixDoc& doc, std::vector<uint8_t>& bytes);

// The settings store on the given file; true when the file was read / fully
// written.
bool LoadSettings(const std::string& path, SettingsRecord& record);
bool SaveSettings(const std::string& path, const SettingsRecord& record);

}  // namespace quolix::fuzz
