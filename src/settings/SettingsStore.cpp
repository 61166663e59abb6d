#include "settings/SettingsStore.h"

#include <array>
#include <utility>

#include "settings/LineFile.h"
#include "settings/SettingsPath.h"

namespace quolix {

namespace {

// Slots in the order of lines 2 to 31: colours and widths interleaved (slot i
// with slot i + 5), then slots 10 to 29 in slot order.
constexpr std::array<int, SettingsRecord::SlotCount> LineOrder = {
    0,  5,  1,  6,  2,  7,  3,  8,  4,  9,  10, 11, 12, 13, 14,
    15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29};

// Every slot is one line of the file. A line of exactly 256 bytes - which Save
// writes for a 256-byte text - comes out of the line file as 256 bytes and then
// an empty piece (its CR LF); a longer, hand-made line comes in more pieces.
// Those leftovers belong to the slot just read and are skipped, so a long line
// never shifts the later slots and a saved 256-byte text loads again.
int SkipRestOfLine(LineFile& file, int firstPiece) {
    int result = firstPiece;
    std::string rest;
    while (result == LineFile::MaxLineLength) {
        result = file.ReadLine(rest);
    }
    return result < 0 ? result : firstPiece;
}

// The file has no form for an empty text (an empty line fails the load), and a
// CR, LF, FF, 0x1A or NUL inside a text would end or cut its line. So an empty
// text is stored as one blank, and those bytes become blanks. None of them can
// be part of a CP932 double-byte character, so no character is split. Load
// keeps the blank as read: it is indistinguishable from a title of one blank,
// and both draw as nothing.
std::string StorableText(const std::string& text) {
    if (text.empty()) {
        return " ";
    }
    std::string stored = text;
    for (char& c : stored) {
        if (c == '\r' || c == '\n' || c == '\f' || c == '\x1a' || c == '\0') {
            c = ' ';
        }
    }
    return stored;
}

bool ReadSlots(LineFile& file, SettingsRecord& record) {
    std::string header;
    if (SkipRestOfLine(file, file.ReadLine(header)) <= 0 || header != SettingsStore::Header) {
        return false;
    }
    for (const int slot : LineOrder) {
        const int result = SettingsRecord::IsTextSlot(slot) ? file.ReadLine(record.Text(slot))
                                                            : file.ReadInt(record.Int(slot));
        if (SkipRestOfLine(file, result) <= 0) {
            return false;
        }
    }
    return true;
}

bool WriteSlots(LineFile& file, const SettingsRecord& record) {
    if (file.WriteLine(SettingsStore::Header) <= 0) {
        return false;
    }
    for (const int slot : LineOrder) {
        const int result = SettingsRecord::IsTextSlot(slot)
                               ? file.WriteLine(StorableText(record.Text(slot)))
                               : file.WriteInt(record.Int(slot));
        if (result <= 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

SettingsStore::SettingsStore() : SettingsStore(ExecutableSettingsPath()) {}

SettingsStore::SettingsStore(std::string settingsPath) : settingsPath_(std::move(settingsPath)) {
    record_.ApplyDefaults();
}

SettingsStore SettingsStore::ForPath(const std::string& pathOrEmpty) {
    return pathOrEmpty.empty() ? SettingsStore() : SettingsStore(pathOrEmpty);
}

bool SettingsStore::LoadInto(SettingsRecord& record) {
    const bool loaded = Load();
    record = record_;
    return loaded;
}

bool SettingsStore::SaveFrom(const SettingsRecord& record) {
    record_ = record;
    return Save();
}

bool SettingsStore::Load() {
    LineFile file;
    if (file.Open(settingsPath_, LineFile::ReadMode) != 1) {
        record_.ApplyDefaults();
        return false;
    }
    // Slots are read straight into the record; a failure part way replaces the
    // ones already read too, so a record is never half file, half defaults.
    const bool loaded = ReadSlots(file, record_);
    file.Close();
    if (!loaded) {
        record_.ApplyDefaults();
    }
    return loaded;
}

bool SettingsStore::Save() {
    LineFile file;
    // A file that cannot be opened is left exactly as it was.
    if (file.Open(settingsPath_, LineFile::WriteMode) != 1) {
        return false;
    }
    // Stops at the first failed line. The file is small enough to reach the disk
    // in one write at the end; Flush makes that write here so that its outcome
    // is known, and Close then has nothing left to write.
    const bool saved = WriteSlots(file, record_) && file.Flush() == 1;
    file.Close();
    return saved;
}

}  // namespace quolix
