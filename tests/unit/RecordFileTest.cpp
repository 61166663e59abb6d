#include "acquisition/RecordFile.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "acquisition/CQuolixDoc.h"
#include "framework/Archive.h"
#include "framework/CView.h"

namespace quolix {
namespace {

using Bytes = std::vector<uint8_t>;
using LoadStatus = recordfile::LoadStatus;

const Bytes HeaderBytes = {0x0D, 'Q', 'u', 'o', 'l', 'i', 'x', ' ', 'V', '1', '.', '0', '0', '1'};

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes Slice(const Bytes& bytes, size_t offset, size_t size) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                 bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

Bytes Save(CQuolixDoc& doc) {
    Archive archive = Archive::ForStoring();
    doc.Serialize(archive);
    EXPECT_FALSE(archive.Failed());
    return archive.TakeBytes();
}

// Everything a load could change, to prove that a failed one changed nothing.
struct Snapshot {
    explicit Snapshot(const CQuolixDoc& doc)
        : times(doc.times), readings(doc.readings), comments(doc.comments), count(doc.count) {}
    bool operator==(const Snapshot&) const = default;
    std::array<int32_t, CQuolixDoc::SampleCapacity> times;
    std::array<int32_t, CQuolixDoc::SampleCapacity> readings;
    CQuolixDoc::Comments comments;
    int32_t count;
};

// A document whose content differs from everything the tests load.
void FillDistinct(CQuolixDoc& doc) {
    for (int32_t i = 0; i < CQuolixDoc::SampleCapacity; ++i) {
        doc.times[static_cast<size_t>(i)] = 700000 + i;
        doc.readings[static_cast<size_t>(i)] = -700000 - i;
    }
    doc.count = 17;
    doc.comments = {"old 1", "old 2", "old 3", "old 4", "old 5"};
}

class FakeView : public CView {
  public:
    void OnUpdate(CView*, int hint) override {
        if (hint == CQuolixDoc::StoreResetHint) {
            ++resets;
        }
    }
    void OnDraw(DeviceContext&) override {}
    int resets = 0;
};

// ---- Storing, byte for byte --------------------------------------------

TEST(RecordFileTest, EmptyStoreIs23Bytes) {
    CQuolixDoc doc;
    const Bytes expected = Concat({HeaderBytes, {0, 0, 0, 0}, {0, 0, 0, 0, 0}});
    ASSERT_EQ(expected.size(), 23u);
    EXPECT_EQ(Save(doc), expected);
}

TEST(RecordFileTest, OneSampleIs31BytesWithTheSampleAtOffset18) {
    CQuolixDoc doc;
    doc.Append(0, 1234567);
    const Bytes bytes = Save(doc);
    ASSERT_EQ(bytes.size(), 31u);
    EXPECT_EQ(Slice(bytes, 0, 14), HeaderBytes);
    EXPECT_EQ(Slice(bytes, 14, 4), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(Slice(bytes, 18, 8), (Bytes{0, 0, 0, 0, 0x87, 0xD6, 0x12, 0}));
    EXPECT_EQ(Slice(bytes, 26, 5), (Bytes{0, 0, 0, 0, 0}));
}

TEST(RecordFileTest, TimesAndReadingsAlternateAndCommentsFollowInOrder) {
    CQuolixDoc doc;
    doc.Append(1, -1);
    doc.Append(2, 3);
    doc.comments = {"A", "", "\x8b\x4c\x98\x5e", "", "E"};
    const Bytes expected = Concat({HeaderBytes,
                                   {2, 0, 0, 0},
                                   {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},
                                   {2, 0, 0, 0, 3, 0, 0, 0},
                                   {1, 'A', 0, 4, 0x8b, 0x4c, 0x98, 0x5e, 0, 1, 'E'}});
    EXPECT_EQ(Save(doc), expected);
}

TEST(RecordFileTest, LongCommentGetsTheThreeBytePrefix) {
    CQuolixDoc doc;
    doc.comments[1] = std::string(300, 'c');
    const Bytes bytes = Save(doc);
    ASSERT_EQ(bytes.size(), 18u + 1 + 3 + 300 + 3);
    EXPECT_EQ(Slice(bytes, 19, 3), (Bytes{0xFF, 0x2C, 0x01}));
    EXPECT_EQ(bytes[22], 'c');
    EXPECT_EQ(bytes[22 + 299], 'c');
    EXPECT_EQ(Slice(bytes, 322, 3), (Bytes{0, 0, 0}));
}

TEST(RecordFileTest, NegativeCountIsStoredAsAnEmptyStore) {
    CQuolixDoc doc;
    doc.count = -3;
    EXPECT_EQ(Save(doc), Concat({HeaderBytes, {0, 0, 0, 0}, {0, 0, 0, 0, 0}}));
}

// ---- Round trips -------------------------------------------------------

class RoundTripTest : public testing::TestWithParam<int32_t> {};

TEST_P(RoundTripTest, EverySampleAndCommentComesBack) {
    const int32_t count = GetParam();
    CQuolixDoc original;
    for (int32_t i = 0; i < count; ++i) {
        // Negative values and the extremes included.
        original.times[static_cast<size_t>(i)] = i % 3 == 0 ? -i : i * 4096;
        original.readings[static_cast<size_t>(i)] = i % 2 == 0
                                                        ? std::numeric_limits<int32_t>::min() + i
                                                        : std::numeric_limits<int32_t>::max() - i;
    }
    original.count = count;
    original.comments = {"\x83\x65\x83\x58\x83\x67", std::string(70000, 'L'), "", "4th",
                         std::string(255, '\x81')};
    const Bytes bytes = Save(original);
    EXPECT_EQ(bytes.size(), 18u + 8u * static_cast<size_t>(count) + 7 + 70007 + 1 + 4 + 258);

    CQuolixDoc loaded;
    Archive archive = Archive::ForLoading(bytes);
    loaded.Serialize(archive);
    ASSERT_FALSE(archive.Failed());
    EXPECT_EQ(loaded.count, count);
    for (int32_t i = 0; i < count; ++i) {
        ASSERT_EQ(loaded.times[static_cast<size_t>(i)], original.times[static_cast<size_t>(i)]);
        ASSERT_EQ(loaded.readings[static_cast<size_t>(i)],
                  original.readings[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(loaded.comments, original.comments);
    // And it is written back exactly as it was read.
    EXPECT_EQ(Save(loaded), bytes);
}

// Up to 2040 from a recording; 2041 to 2100 only from a file.
INSTANTIATE_TEST_SUITE_P(RecordFileTest, RoundTripTest,
                         testing::Values(0, 1, 2, 2040, 2041, 2099, 2100));

TEST(RecordFileTest, LoadReplacesEverythingAndNeitherResetsNorTouchesTheView) {
    CQuolixDoc source;
    source.Append(5, 6);
    const Bytes bytes = Save(source);

    CQuolixDoc doc;
    FakeView view;
    view.AttachDocument(&doc);
    FillDistinct(doc);
    Archive archive = Archive::ForLoading(bytes);
    EXPECT_EQ(recordfile::Load(doc, archive), LoadStatus::Ok);
    EXPECT_EQ(doc.count, 1);
    EXPECT_EQ(doc.times[0], 5);
    EXPECT_EQ(doc.readings[0], 6);
    EXPECT_EQ(doc.comments, CQuolixDoc::Comments{});
    EXPECT_EQ(view.resets, 0);
}

TEST(RecordFileTest, BytesAfterTheFifthCommentAreIgnored) {
    CQuolixDoc source;
    source.Append(1, 2);
    source.comments[4] = "last";
    Bytes bytes = Save(source);
    bytes.insert(bytes.end(), {0xDE, 0xAD, 0xBE, 0xEF, 0x0D});
    CQuolixDoc doc;
    Archive archive = Archive::ForLoading(bytes);
    EXPECT_EQ(recordfile::Load(doc, archive), LoadStatus::Ok);
    EXPECT_FALSE(archive.Failed());
    EXPECT_EQ(doc.count, 1);
    EXPECT_EQ(doc.comments[4], "last");
}

// ---- Damaged and foreign files -----------------------------------------

TEST(RecordFileTest, EveryTruncationFailsAndLeavesTheDocumentUntouched) {
    CQuolixDoc source;
    for (int32_t i = 0; i < 3; ++i) {
        source.Append(i, -i);
    }
    source.comments = {"one", std::string(300, 'x'), "", std::string(70000, 'y'), "five"};
    const Bytes full = Save(source);

    CQuolixDoc doc;
    FillDistinct(doc);
    const Snapshot before(doc);
    for (size_t cut = 0; cut < full.size(); ++cut) {
        const Bytes part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
        Archive archive = Archive::ForLoading(part);
        ASSERT_EQ(recordfile::Load(doc, archive), LoadStatus::Truncated) << "cut at " << cut;
        ASSERT_EQ(archive.Error(), ArchiveError::EndOfData) << "cut at " << cut;
        ASSERT_TRUE(Snapshot(doc) == before) << "cut at " << cut;
    }
    // The uncut file is what the cuts were taken from.
    Archive archive = Archive::ForLoading(full);
    EXPECT_EQ(recordfile::Load(doc, archive), LoadStatus::Ok);
    EXPECT_EQ(doc.comments, source.comments);
}

TEST(RecordFileTest, ForeignHeaderLeavesTheDocumentUntouched) {
    const Bytes rest = {1, 0, 0, 0, 9, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0};
    const Bytes headers[] = {
        {0x0D, 'Q', 'u', 'o', 'l', 'i', 'x', ' ', 'V', '1', '.', '0', '0', '2'},
        {0x0D, 'q', 'u', 'o', 'l', 'i', 'x', ' ', 'v', '1', '.', '0', '0', '1'},
        {0x0C, 'Q', 'u', 'o', 'l', 'i', 'x', ' ', 'V', '1', '.', '0', '0'},
        {0x0E, 'Q', 'u', 'o', 'l', 'i', 'x', ' ', 'V', '1', '.', '0', '0', '1', ' '},
        {0x0E, 'Q', 'u', 'o', 'l', 'i', 'x', ' ', 'V', '1', '.', '0', '0', '1', 0},
        {0x00},
    };
    for (const Bytes& header : headers) {
        CQuolixDoc doc;
        FillDistinct(doc);
        const Snapshot before(doc);
        const Bytes bytes = Concat({header, rest});
        Archive archive = Archive::ForLoading(bytes);
        doc.Serialize(archive);
        EXPECT_EQ(archive.Error(), ArchiveError::ForeignFormat) << header.size();
        EXPECT_TRUE(Snapshot(doc) == before);
    }
}

TEST(RecordFileTest, ShortFileOfAnotherKindIsForeignNotTruncated) {
    const Bytes files[] = {
        {'h', 'e', 'l', 'l', 'o', '\n'},  // 'h' announces 104 bytes
        {0x0D, 'Q', 'u', 'o', 'l', 'i', 'x', ' ', 'X'},
        {0x89, 'P', 'N', 'G'},
    };
    for (const Bytes& bytes : files) {
        CQuolixDoc doc;
        FillDistinct(doc);
        const Snapshot before(doc);
        Archive archive = Archive::ForLoading(bytes);
        EXPECT_EQ(recordfile::Load(doc, archive), LoadStatus::ForeignFile);
        EXPECT_EQ(archive.Error(), ArchiveError::ForeignFormat);
        EXPECT_TRUE(Snapshot(doc) == before);
    }
}

TEST(RecordFileTest, CountOutsideTheCapacityIsRejected) {
    for (const int32_t count : {-1, -2100, std::numeric_limits<int32_t>::min(), 2101,
                                std::numeric_limits<int32_t>::max()}) {
        // Enough samples and comments follow for the largest count that fits.
        Archive out = Archive::ForStoring();
        out.WriteString(recordfile::Header);
        out.WriteInt32(count);
        for (int i = 0; i < 2 * 2101; ++i) {
            out.WriteInt32(i);
        }
        for (int i = 0; i < CQuolixDoc::CommentCount; ++i) {
            out.WriteString("c");
        }
        CQuolixDoc doc;
        FillDistinct(doc);
        const Snapshot before(doc);
        Archive archive = Archive::ForLoading(out.Bytes());
        EXPECT_EQ(recordfile::Load(doc, archive), LoadStatus::BadCount) << count;
        EXPECT_EQ(archive.Error(), ArchiveError::BadValue);
        EXPECT_TRUE(Snapshot(doc) == before) << count;
    }
}

TEST(RecordFileTest, FailedArchiveLoadsNothing) {
    CQuolixDoc source;
    const Bytes bytes = Save(source);
    CQuolixDoc doc;
    FillDistinct(doc);
    const Snapshot before(doc);
    Archive archive = Archive::ForLoading(bytes);
    archive.Fail(ArchiveError::BadValue);
    EXPECT_NE(recordfile::Load(doc, archive), LoadStatus::Ok);
    EXPECT_TRUE(archive.Failed());
    EXPECT_TRUE(Snapshot(doc) == before);
}

}  // namespace
}  // namespace quolix
