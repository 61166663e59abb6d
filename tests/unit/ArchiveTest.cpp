#include "framework/Archive.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quolix {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Prefix(const Bytes& bytes, size_t n) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
}

// ---- Integers ----------------------------------------------------------

TEST(ArchiveTest, IntegersAreFourBytesLittleEndianTwosComplement) {
    struct Case {
        int32_t value;
        Bytes bytes;
    };
    const Case cases[] = {
        {0, {0, 0, 0, 0}},
        {1234567, {0x87, 0xD6, 0x12, 0x00}},
        {-1, {0xFF, 0xFF, 0xFF, 0xFF}},
        {std::numeric_limits<int32_t>::min(), {0x00, 0x00, 0x00, 0x80}},
        {std::numeric_limits<int32_t>::max(), {0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const Case& c : cases) {
        Archive out = Archive::ForStoring();
        EXPECT_TRUE(out.WriteInt32(c.value));
        EXPECT_EQ(out.Bytes(), c.bytes) << c.value;
        Archive in = Archive::ForLoading(c.bytes);
        int32_t value = 0;
        ASSERT_TRUE(in.ReadInt32(value));
        EXPECT_EQ(value, c.value);
        EXPECT_TRUE(in.RemainingBytes().empty());
        EXPECT_FALSE(in.Failed());
    }
}

TEST(ArchiveTest, ShortIntegerFailsAndLeavesTheValue) {
    for (size_t size = 0; size < 4; ++size) {
        const Bytes bytes(size, 0x11);
        Archive in = Archive::ForLoading(bytes);
        int32_t value = 99;
        EXPECT_FALSE(in.ReadInt32(value)) << size;
        EXPECT_EQ(value, 99);
        EXPECT_EQ(in.Error(), ArchiveError::EndOfData);
    }
}

// ---- Strings -----------------------------------------------------------

struct PrefixCase {
    size_t length;
    Bytes prefix;
};

class StringPrefixTest : public testing::TestWithParam<PrefixCase> {};

TEST_P(StringPrefixTest, WritesTheShortestFormAndReadsItBack) {
    const PrefixCase c = GetParam();
    std::string text(c.length, 'x');
    text.front() = '\x82';  // CP932 bytes pass unchanged
    text.back() = '\xA0';
    Archive out = Archive::ForStoring();
    ASSERT_TRUE(out.WriteString(text));
    const Bytes& bytes = out.Bytes();
    ASSERT_EQ(bytes.size(), c.prefix.size() + c.length);
    EXPECT_EQ(Prefix(bytes, c.prefix.size()), c.prefix);
    EXPECT_EQ(bytes[c.prefix.size()], 0x82);
    EXPECT_EQ(bytes.back(), 0xA0);

    Archive in = Archive::ForLoading(bytes);
    std::string back;
    ASSERT_TRUE(in.ReadString(back));
    EXPECT_EQ(back, text);
    EXPECT_TRUE(in.RemainingBytes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    ArchiveTest, StringPrefixTest,
    testing::Values(PrefixCase{2, {0x02}}, PrefixCase{13, {0x0D}}, PrefixCase{254, {0xFE}},
                    PrefixCase{255, {0xFF, 0xFF, 0x00}}, PrefixCase{300, {0xFF, 0x2C, 0x01}},
                    PrefixCase{65533, {0xFF, 0xFD, 0xFF}},
                    PrefixCase{65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
                    PrefixCase{65535, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
                    PrefixCase{70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}));

TEST(ArchiveTest, EmptyStringIsOneZeroByte) {
    Archive out = Archive::ForStoring();
    ASSERT_TRUE(out.WriteString(""));
    EXPECT_EQ(out.Bytes(), Bytes{0x00});
    Archive in = Archive::ForLoading(out.Bytes());
    std::string text = "old";
    ASSERT_TRUE(in.ReadString(text));
    EXPECT_EQ(text, "");
}

TEST(ArchiveTest, ReaderAcceptsLongerPrefixFormsThanNeeded) {
    // A writer never produces these, but their meaning is unambiguous.
    const Bytes cases[] = {
        {0xFF, 0x03, 0x00, 'a', 'b', 'c'},
        {0xFF, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00, 'a', 'b', 'c'},
    };
    for (const Bytes& bytes : cases) {
        Archive in = Archive::ForLoading(bytes);
        std::string text;
        ASSERT_TRUE(in.ReadString(text));
        EXPECT_EQ(text, "abc");
    }
}

TEST(ArchiveTest, SixteenBitFffeIsALengthOf65534) {
    Bytes bytes = {0xFF, 0xFE, 0xFF};
    bytes.resize(bytes.size() + 65534, 'q');
    bytes.push_back(0x07);  // what follows the string stays unread
    Archive in = Archive::ForLoading(bytes);
    std::string text;
    ASSERT_TRUE(in.ReadString(text));
    EXPECT_EQ(text.size(), 65534u);
    EXPECT_EQ(in.RemainingBytes().size(), 1u);
}

TEST(ArchiveTest, EveryTruncationOfAStringFails) {
    for (const size_t length : {size_t{3}, size_t{300}, size_t{65534}}) {
        Archive out = Archive::ForStoring();
        ASSERT_TRUE(out.WriteString(std::string(length, 'z')));
        const Bytes& full = out.Bytes();
        // Every cut inside the prefix, and a few inside the text.
        for (size_t cut = 0; cut < full.size(); cut += (cut < 8 ? 1 : 997)) {
            const Bytes part = Prefix(full, cut);
            Archive in = Archive::ForLoading(part);
            std::string text = "kept";
            EXPECT_FALSE(in.ReadString(text)) << length << " cut at " << cut;
            EXPECT_EQ(text, "kept");
            EXPECT_EQ(in.Error(), ArchiveError::EndOfData);
        }
        const Bytes oneShort = Prefix(full, full.size() - 1);
        Archive in = Archive::ForLoading(oneShort);
        std::string text;
        EXPECT_FALSE(in.ReadString(text)) << length;
    }
}

TEST(ArchiveTest, HugeLengthPrefixFailsWithoutReservingIt) {
    const Bytes cases[] = {
        {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'},
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'},
        {0xFF, 0xFD, 0xFF, 'a', 'b', 'c', 'd', 'e', 'f', 'g'},
        {0xFE, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i'},
    };
    for (const Bytes& bytes : cases) {
        Archive in = Archive::ForLoading(bytes);
        std::string text = "kept";
        const size_t capacity = text.capacity();
        EXPECT_FALSE(in.ReadString(text));
        EXPECT_EQ(text, "kept");
        // Had the reader sized the string to the prefix first, it would have
        // grown by gigabytes before noticing.
        EXPECT_EQ(text.capacity(), capacity);
        EXPECT_EQ(in.Error(), ArchiveError::EndOfData);
    }
}

// ---- Failure is sticky and never throws --------------------------------

TEST(ArchiveTest, FailedArchiveRefusesReadsThatWouldFitTheData) {
    const Bytes bytes = {0x10, 1, 2, 3, 4, 5, 6, 7, 8};
    Archive in = Archive::ForLoading(bytes);
    std::string text;
    ASSERT_FALSE(in.ReadString(text));  // announces 16 bytes, 8 are there
    int32_t value = 42;
    EXPECT_FALSE(in.ReadInt32(value));
    EXPECT_EQ(value, 42);
    EXPECT_EQ(in.Error(), ArchiveError::EndOfData);
}

TEST(ArchiveTest, WrongModeFails) {
    Archive out = Archive::ForStoring();
    int32_t value = 5;
    std::string text = "kept";
    EXPECT_FALSE(out.ReadInt32(value));
    EXPECT_FALSE(out.ReadString(text));
    EXPECT_EQ(out.Error(), ArchiveError::WrongMode);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(text, "kept");
    EXPECT_FALSE(out.WriteInt32(1));
    EXPECT_TRUE(out.Bytes().empty());

    const Bytes bytes = {0, 0, 0, 0};
    Archive in = Archive::ForLoading(bytes);
    EXPECT_FALSE(in.WriteInt32(1));
    EXPECT_FALSE(in.WriteString("x"));
    EXPECT_EQ(in.Error(), ArchiveError::WrongMode);
    EXPECT_FALSE(in.ReadInt32(value));
}

TEST(ArchiveTest, FailedStoringArchiveWritesNothingMore) {
    Archive out = Archive::ForStoring();
    ASSERT_TRUE(out.WriteInt32(1));
    out.Fail(ArchiveError::BadValue);
    EXPECT_FALSE(out.WriteInt32(2));
    EXPECT_FALSE(out.WriteString("x"));
    EXPECT_EQ(out.Bytes().size(), 4u);
}

TEST(ArchiveTest, DocumentVerdictReplacesTheReadError) {
    const Bytes bytes = {0x01};
    Archive in = Archive::ForLoading(bytes);
    std::string text;
    ASSERT_FALSE(in.ReadString(text));
    ASSERT_EQ(in.Error(), ArchiveError::EndOfData);
    in.Fail(ArchiveError::ForeignFormat);
    EXPECT_EQ(in.Error(), ArchiveError::ForeignFormat);
    in.Fail(ArchiveError::None);  // cannot clear a failure
    EXPECT_TRUE(in.Failed());
}

TEST(ArchiveTest, ModeIsReported) {
    const Bytes bytes;
    EXPECT_TRUE(Archive::ForStoring().IsStoring());
    EXPECT_FALSE(Archive::ForStoring().IsLoading());
    EXPECT_TRUE(Archive::ForLoading(bytes).IsLoading());
    EXPECT_FALSE(Archive::ForLoading(bytes).IsStoring());
}

TEST(ArchiveTest, MixedSequenceRoundTrips) {
    Archive out = Archive::ForStoring();
    out.WriteString("Quolix V1.001");
    out.WriteInt32(-7);
    out.WriteString(std::string(400, '\x81'));
    out.WriteInt32(8);
    const Bytes bytes = out.TakeBytes();
    Archive in = Archive::ForLoading(bytes);
    std::string a;
    std::string b;
    int32_t x = 0;
    int32_t y = 0;
    ASSERT_TRUE(in.ReadString(a));
    ASSERT_TRUE(in.ReadInt32(x));
    ASSERT_TRUE(in.ReadString(b));
    ASSERT_TRUE(in.ReadInt32(y));
    EXPECT_EQ(a, "Quolix V1.001");
    EXPECT_EQ(x, -7);
    EXPECT_EQ(b, std::string(400, '\x81'));
    EXPECT_EQ(y, 8);
    EXPECT_FALSE(in.Failed());
}

}  // namespace
}  // namespace quolix
