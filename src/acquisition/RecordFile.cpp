#include "acquisition/RecordFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "acquisition/CQuolixDoc.h"
#include "framework/Archive.h"

namespace quolix::recordfile {

namespace {

// What a load reads before anything of the document is touched.
struct Scratch {
    std::array<int32_t, CQuolixDoc::SampleCapacity> times;
    std::array<int32_t, CQuolixDoc::SampleCapacity> readings;
    CQuolixDoc::Comments comments;
    int32_t count = 0;
};

// Whether the bytes at hand could be the start of our header, which tells a
// file cut short inside its header from another program's file.
bool CouldBeOurHeader(std::span<const uint8_t> bytes) {
    std::string expected(1, static_cast<char>(Header.size()));
    expected += Header;
    const std::size_t n = std::min(bytes.size(), expected.size());
    return std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n),
                      expected.begin(),
                      [](uint8_t byte, char c) { return byte == static_cast<uint8_t>(c); });
}

}  // namespace

void Store(const CQuolixDoc& doc, Archive& archive) {
    // A negative count means an empty store; nothing above the capacity exists.
    const int32_t count = std::clamp(doc.count, 0, CQuolixDoc::SampleCapacity);
    archive.WriteString(Header);
    archive.WriteInt32(count);
    for (int32_t i = 0; i < count; ++i) {
        archive.WriteInt32(doc.times[static_cast<std::size_t>(i)]);
        archive.WriteInt32(doc.readings[static_cast<std::size_t>(i)]);
    }
    for (const std::string& comment : doc.comments) {
        archive.WriteString(comment);
    }
}

LoadStatus Load(CQuolixDoc& doc, Archive& archive) {
    const std::span<const uint8_t> start = archive.RemainingBytes();
    std::string header;
    if (!archive.ReadString(header)) {
        if (archive.Error() != ArchiveError::EndOfData || CouldBeOurHeader(start)) {
            return LoadStatus::Truncated;
        }
        archive.Fail(ArchiveError::ForeignFormat);
        return LoadStatus::ForeignFile;
    }
    // Byte for byte: a header that merely compares equal in some other way
    // is not ours.
    if (header != Header) {
        archive.Fail(ArchiveError::ForeignFormat);
        return LoadStatus::ForeignFile;
    }

    Scratch scratch;
    if (!archive.ReadInt32(scratch.count)) {
        return LoadStatus::Truncated;
    }
    if (scratch.count < 0 || scratch.count > CQuolixDoc::SampleCapacity) {
        archive.Fail(ArchiveError::BadValue);
        return LoadStatus::BadCount;
    }
    for (int32_t i = 0; i < scratch.count; ++i) {
        if (!archive.ReadInt32(scratch.times[static_cast<std::size_t>(i)]) ||
            !archive.ReadInt32(scratch.readings[static_cast<std::size_t>(i)])) {
            return LoadStatus::Truncated;
        }
    }
    for (std::string& comment : scratch.comments) {
        if (!archive.ReadString(comment)) {
            return LoadStatus::Truncated;
        }
    }

    const auto n = static_cast<std::ptrdiff_t>(scratch.count);
    std::copy(scratch.times.begin(), scratch.times.begin() + n, doc.times.begin());
    std::copy(scratch.readings.begin(), scratch.readings.begin() + n, doc.readings.begin());
    doc.comments = std::move(scratch.comments);
    doc.count = scratch.count;
    return LoadStatus::Ok;
}

}  // namespace quolix::recordfile
