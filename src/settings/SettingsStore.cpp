#include "settings/SettingsStore.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/ReplacementFile.h"
#include "base/SystemErrorText.h"
#include "settings/LineFile.h"

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

// The per-user folder (~/.config/quolix) may not exist before the first save.
int MakeFolderOf(const std::string& file) {
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    std::error_code error;
    if (folder.empty() || std::filesystem::is_directory(folder, error)) {
        return 0;
    }
    std::filesystem::create_directories(folder, error);
    return error.value();
}

}  // namespace

SettingsStore::SettingsStore(SettingsLocation location) : location_(std::move(location)) {
    record_.ApplyDefaults();
}

SettingsStore::SettingsStore(std::string settingsPath)
    : SettingsStore(SettingsLocation::Explicit(std::move(settingsPath))) {}

bool SettingsStore::LoadInto(SettingsRecord& record) {
    const bool loaded = Load();
    record = record_;
    return loaded;
}

bool SettingsStore::SaveFrom(const SettingsRecord& record) {
    record_ = record;
    return Save();
}

std::string SettingsStore::SaveFailureReason() const {
    if (saveError_ == 0) {
        return {};
    }
    if (location_.file.empty()) {
        return "設定ファイルの場所が分かりません";
    }
    // EINVAL stands for a thing in the file's place that is not a file.
    return saveError_ == EINVAL ? "通常のファイルではありません" : SystemErrorText(saveError_);
}

std::string SettingsStore::SaveFailureMessage() const {
    if (saveError_ == 0) {
        return {};
    }
    const std::string where = location_.file.empty() ? "" : location_.file + " に";
    return where + "設定を保存できませんでした。\n(" + SaveFailureReason() + ")";
}

bool SettingsStore::Load() {
    LineFile file;
    if (file.Open(location_.ReadPath(), LineFile::ReadMode) != 1) {
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

bool SettingsStore::Refuse(int error) {
    saveError_ = error != 0 ? error : EIO;
    return false;
}

bool SettingsStore::Save() {
    saveError_ = 0;
    const std::string& path = location_.file;
    if (path.empty()) {
        return Refuse(ENOENT);
    }
    // A FIFO, a device or a folder in the file's place is left alone: renaming
    // over it would destroy something that is not ours.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return Refuse(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    if (location_.perUser) {
        if (const int error = MakeFolderOf(path); error != 0) {
            return Refuse(error);
        }
    }
    ReplacementFile replacement(path);
    if (!replacement.Ok()) {
        return Refuse(replacement.Error());
    }
    LineFile file;
    if (file.Open(replacement.TempPath(), LineFile::WriteMode) != 1) {
        return Refuse(errno);
    }
    errno = 0;
    // Stops at the first failed line. Flush makes the one write of this small
    // file here, so that its outcome is known; Close then has nothing left.
    const bool written = WriteSlots(file, record_) && file.Flush() == 1;
    const int writeError = errno;
    file.Close();
    if (!written) {
        return Refuse(writeError);
    }
    // Uncommitted, the replacement removes its temporary file; the old file
    // stays as it was.
    if (!replacement.Commit(ReplacementFile::Flush::Data)) {
        return Refuse(replacement.Error());
    }
    return true;
}

}  // namespace quolix
