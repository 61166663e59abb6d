#include "fuzz/RecordFileChecks.h"

#include <array>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/MemoryFile.h"
#include "fuzz/ParserCalls.h"
#include "fuzz/RecordModel.h"

namespace quolix::fuzz {

namespace {

constexpr const char* EarlierName = "/earlier/recording.qlx";

// Everything an Open may change.
struct Snapshot {
    explicit Snapshot(const CQuolixDoc& doc)
        : times(doc.times),
          readings(doc.readings),
          comments(doc.comments),
          count(doc.count),
          name(doc.GetPathName()) {}
    bool operator==(const Snapshot&) const = default;

    std::array<int32_t, CQuolixDoc::SampleCapacity> times;
    std::array<int32_t, CQuolixDoc::SampleCapacity> readings;
    CQuolixDoc::Comments comments;
    int32_t count;
    std::string name;
};

// A document that was loaded earlier: every place of the store filled, so
// that a load that writes anything at all shows; comments empty, short, CP932
// and longer than a one-byte prefix can announce.
void FillEarlier(CQuolixDoc& doc) {
    for (int32_t i = 0; i < CQuolixDoc::SampleCapacity; ++i) {
        doc.times[static_cast<size_t>(i)] = 900000 + 3 * i;
        doc.readings[static_cast<size_t>(i)] = -900000 - 7 * i;
    }
    doc.count = 1234;
    doc.comments = {"earlier", std::string(300, 'e'), "", "\x8e\xfc\x94\x67\x90\x94", "5"};
    doc.SetPathName(EarlierName);
}

ArchiveError ErrorFor(RecordVerdict verdict) {
    switch (verdict) {
        case RecordVerdict::Accepted:
            return ArchiveError::None;
        case RecordVerdict::Foreign:
            return ArchiveError::ForeignFormat;
        case RecordVerdict::Truncated:
            return ArchiveError::EndOfData;
        case RecordVerdict::BadCount:
            return ArchiveError::BadValue;
    }
    return ArchiveError::None;
}

void RequireHolds(const CQuolixDoc& doc, const Recording& recording, const char* promise) {
    Require(doc.count == static_cast<int32_t>(recording.times.size()), promise);
    for (size_t i = 0; i < recording.times.size(); ++i) {
        Require(doc.times[i] == recording.times[i] && doc.readings[i] == recording.readings[i],
                promise);
    }
    Require(doc.comments == recording.comments, promise);
}

}  // namespace

int CheckRecordFile(const uint8_t* data, size_t size) {
    static MemoryFile file;
    file.Replace(data, size);
    const std::span<const uint8_t> bytes(data, size);
    const DecodedRecording expected = DecodeRecording(bytes);
    const bool accepted = expected.verdict == RecordVerdict::Accepted;

    // The documents are large; they live on the heap, not the stack.
    auto doc = std::make_unique<CQuolixDoc>();
    FillEarlier(*doc);
    const Snapshot before(*doc);
    const bool opened = OpenRecording(*doc, file.Path());
    Require(opened == accepted, "Open takes exactly the files the record layout allows");
    if (!accepted) {
        Require(Snapshot(*doc) == before,
                "a refused file leaves samples, count, comments and name as they were");
    } else {
        RequireHolds(*doc, expected.recording, "Open loads every value the file holds");
        Require(doc->GetPathName() == file.Path(), "an opened file names the document");
    }

    // The same bytes without a file: the reason for a refusal is the one the
    // layout gives (it chooses the message the user sees).
    auto scratch = std::make_unique<CQuolixDoc>();
    FillEarlier(*scratch);
    Require(LoadRecording(*scratch, bytes) == ErrorFor(expected.verdict),
            "a refusal gives the reason the record layout gives");

    if (accepted) {
        std::vector<uint8_t> stored;
        Require(StoreRecording(*doc, stored), "a loaded recording can be stored");
        Require(stored == EncodeRecording(expected.recording),
                "a store writes the layout, every string with its shortest prefix");
        auto reloaded = std::make_unique<CQuolixDoc>();
        FillEarlier(*reloaded);
        Require(LoadRecording(*reloaded, stored) == ArchiveError::None,
                "what a store wrote loads again");
        RequireHolds(*reloaded, expected.recording, "store then load keeps every value");
    }
    return 0;
}

}  // namespace quolix::fuzz
