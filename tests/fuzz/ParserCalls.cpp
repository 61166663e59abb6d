#include "fuzz/ParserCalls.h"

#include "framework/DocumentFile.h"
#include "settings/SettingsStore.h"

namespace quolix::fuzz {

bool OpenRecording(CQuolixDoc& doc, const std::string& path) {
    return docfile::Open(doc, path).ok;
}

ArchiveError LoadRecording(CQuolixDoc& doc, std::span<const uint8_t> bytes) {
    Archive archive = Archive::ForLoading(bytes);
    doc.Serialize(archive);
    return archive.Error();
}

bool StoreRecording(CQuolixDoc& doc, std::vector<uint8_t>& bytes) {
    Archive archive = Archive::ForStoring();
    doc.Serialize(archive);
    bytes = archive.TakeBytes();
    return !archive.Failed();
}

bool LoadSettings(const std::string& path, SettingsRecord& record) {
    return SettingsStore(path).LoadInto(record);
}

bool SaveSettings(const std::string& path, const SettingsRecord& record) {
    return SettingsStore(path).SaveFrom(record);
}

}  // namespace quolix::fuzz
