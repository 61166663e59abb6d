#include "fuzz/SettingsChecks.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "base/FileSystem.h"
#include "base/ReplacementFile.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/LineModel.h"
#include "fuzz/MemoryFile.h"
#include "fuzz/ParserCalls.h"
#include "settings/LineFile.h"
#include "settings/SettingsRecord.h"

namespace quolix::fuzz {

namespace {

constexpr size_t LongestLine = 256;

// A save replaces its file through a temporary file beside it, so the saved
// file lives in a real folder, made once per run and removed at its end.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::random_device seed;
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
        // Bounded: a name taken already is tried again with another number.
        for (int attempt = 0; !error && attempt < 100; ++attempt) {
            const std::filesystem::path candidate =
                folder / ("quolix-fuzz-" + std::to_string(seed()));
            if (std::filesystem::create_directory(candidate, error)) {
                path_ = candidate.generic_string();
                return;
            }
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

void CheckLines(const std::string& path, std::span<const uint8_t> bytes) {
    const std::vector<LinePiece> expected = CutLines(bytes);
    LineFile file;
    Require(file.Open(path, LineFile::ReadMode) == 1, "the line file opens a readable file");
    for (const LinePiece& piece : expected) {
        std::string text;
        const int length = file.ReadLine(text);
        Require(length == piece.length && text == piece.text,
                "the line file cuts lines by the terminator rules");
    }
    std::string text = "unchanged";
    Require(file.ReadLine(text) == -1 && text == "unchanged",
            "reading ends where the terminator rules end it, leaving the text alone");
    Require(file.ReadLine(text) == -1, "after the end every read fails again");
    int32_t value = 42;
    Require(file.ReadInt(value) == -1 && value == 0, "a number read after the end is 0");
    Require(file.Close() == 1 && file.Close() == 0, "Close closes once");
}

SettingsRecord Defaults() {
    SettingsRecord record;
    record.ApplyDefaults();
    return record;
}

// A record unlike the defaults in every slot, so that a load which keeps or
// mixes in anything of it shows.
SettingsRecord Earlier() {
    SettingsRecord record;
    for (int slot = 0; slot < SettingsRecord::SlotCount; ++slot) {
        if (SettingsRecord::IsTextSlot(slot)) {
            record.Text(slot) = "earlier " + std::to_string(slot);
        } else {
            record.Int(slot) = -31000 - slot;
        }
    }
    return record;
}

// What a saved text reads back as.
std::string Normalised(const std::string& text) {
    if (text.empty()) {
        return " ";
    }
    std::string stored = text.substr(0, LongestLine);
    for (char& c : stored) {
        if (c == '\r' || c == '\n' || c == '\f' || c == '\x1a' || c == '\0') {
            c = ' ';
        }
    }
    return stored;
}

}  // namespace

int CheckSettings(const uint8_t* data, size_t size) {
    static MemoryFile input;
    static const ScratchFolder scratch;
    static const std::string output = scratch.File("quolix.ini");
    input.Replace(data, size);
    CheckLines(input.Path(), std::span<const uint8_t>(data, size));

    SettingsRecord record = Earlier();
    if (!LoadSettings(input.Path(), record)) {
        Require(record == Defaults(), "a refused settings file gives exactly the defaults");
        return 0;
    }
    SettingsRecord expected = record;
    for (int slot = SettingsRecord::FirstTextSlot; slot <= SettingsRecord::LastTextSlot; ++slot) {
        Require(record.Text(slot).size() <= LongestLine, "a text loads as at most 256 bytes");
        expected.Text(slot) = Normalised(record.Text(slot));
    }
    {
        // Saves are checked for what they write, not for reaching the disk; a
        // flush per input made the run five times slower.
        const ReplacementFile::ScopedSystemCalls noFlush({platform::Write, [](int) { return 0; },
                                                          [](const char* from, const char* to) {
                                                              return platform::RenameOver(from, to)
                                                                         ? 0
                                                                         : -1;
                                                          }});
        Require(SaveSettings(output, record), "a loaded record can be saved");
    }
    SettingsRecord again = Earlier();
    Require(LoadSettings(output, again), "a saved settings file loads");
    Require(again == expected, "save then load keeps the record, normalised");
    return 0;
}

}  // namespace quolix::fuzz
