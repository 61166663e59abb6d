#include "base/Cp932.h"

#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace quolix {
namespace {

struct RoundTripCase {
    const char* name;
    std::string utf8;
    std::string cp932;
};
void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.name;
}

class Cp932RoundTripTest : public testing::TestWithParam<RoundTripCase> {};

TEST_P(Cp932RoundTripTest, ConvertsBothWaysExactly) {
    const RoundTripCase& c = GetParam();
    const std::optional<std::string> cp932 = Utf8ToCp932(c.utf8);
    ASSERT_TRUE(cp932.has_value());
    EXPECT_EQ(*cp932, c.cp932);
    const std::optional<std::string> utf8 = Cp932ToUtf8(*cp932);
    ASSERT_TRUE(utf8.has_value());
    EXPECT_EQ(*utf8, c.utf8);
    EXPECT_TRUE(IsCp932Representable(c.utf8));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Cp932RoundTripTest,
    testing::Values(RoundTripCase{"Empty", "", ""},
                    RoundTripCase{"Ascii", "Quolix V1.001", "Quolix V1.001"},
                    // Half-width katakana are single bytes.
                    RoundTripCase{"HalfWidthKana", "ﾚﾃﾞｨ", "\xDA\xC3\xDE\xA8"},
                    // The font face: full-width letters, an ordinary blank, katakana.
                    RoundTripCase{"FontFace", "ＭＳ Ｐゴシック",
                                  "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E"},
                    // A second byte of 0x5C must not be taken for a path separator.
                    RoundTripCase{"TrailByte5C", "ソ表", "\x83\x5C\x95\x5C"},
                    // Vendor extensions that only the Microsoft variant of Shift-JIS holds.
                    RoundTripCase{"VendorExtensions", "①㈱", "\x87\x40\x87\x8A"},
                    RoundTripCase{"ControlBytes", "a\r\nb\t", "a\r\nb\t"}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

TEST(Cp932Test, LongTextGrowsTheOutputBuffer) {
    std::string utf8;
    for (int i = 0; i < 5000; ++i) {
        utf8 += "記録";
    }
    const std::optional<std::string> cp932 = Utf8ToCp932(utf8);
    ASSERT_TRUE(cp932.has_value());
    EXPECT_EQ(cp932->size(), 20000u);
    EXPECT_EQ(Cp932ToUtf8(*cp932), utf8);
}

struct RefusalCase {
    const char* name;
    std::string utf8;
};
void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class Utf8RefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(Utf8RefusalTest, TextWithoutCp932FormIsRefused) {
    EXPECT_FALSE(Utf8ToCp932(GetParam().utf8).has_value());
    EXPECT_FALSE(IsCp932Representable(GetParam().utf8));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8RefusalTest,
    testing::Values(RefusalCase{"Emoji", "\xF0\x9F\x98\x80"},
                    RefusalCase{"EmojiAfterText", "記録\xF0\x9F\x98\x80"},
                    RefusalCase{"Hangul", "\xED\x95\x9C"}, RefusalCase{"InvalidUtf8", "abc\xFF"},
                    // A control character: Windows' table has it,
                    // glibc's not; refused on both.
                    RefusalCase{"Control80", "\xC2\x80"},
                    // Only Windows' best fit has these (as | and μ).
                    RefusalCase{"BrokenBar", "\xC2\xA6"}, RefusalCase{"Micro", "\xC2\xB5"},
                    RefusalCase{"TruncatedUtf8", "abc\xE8\xA8"}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

struct Cp932RefusalCase {
    const char* name;
    std::string cp932;
};
void PrintTo(const Cp932RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class Cp932RefusalTest : public testing::TestWithParam<Cp932RefusalCase> {};

TEST_P(Cp932RefusalTest, BrokenBytesAreRefused) {
    EXPECT_FALSE(Cp932ToUtf8(GetParam().cp932).has_value());
}

INSTANTIATE_TEST_SUITE_P(Bytes, Cp932RefusalTest,
                         testing::Values(Cp932RefusalCase{"LeadByteAtEnd", "abc\x82"},
                                         Cp932RefusalCase{"Lone80", "a\x80"},
                                         Cp932RefusalCase{"UndefinedSingleByte", "\xA0"},
                                         Cp932RefusalCase{"BadTrailByte", "\x82\x20"}),
                         [](const testing::TestParamInfo<Cp932RefusalCase>& info) {
                             return info.param.name;
                         });

// Nine characters that only glibc's table writes: both systems write them
// as glibc does (Windows' table, without best fit, would refuse them). They
// read back as the characters those bytes stand for, so only one way.
struct JisFormCase {
    const char* name;
    std::string utf8;
    std::string cp932;
    std::string readBack;
};

class Cp932JisFormTest : public testing::TestWithParam<JisFormCase> {};

TEST_P(Cp932JisFormTest, IsWrittenAsTheJisCharacterOnEverySystem) {
    EXPECT_EQ(Utf8ToCp932(GetParam().utf8), GetParam().cp932);
    EXPECT_EQ(Cp932ToUtf8(GetParam().cp932), GetParam().readBack);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Cp932JisFormTest,
    testing::Values(JisFormCase{"Cent", "\xC2\xA2", "\x81\x91", "\xEF\xBF\xA0"},
                    JisFormCase{"Pound", "\xC2\xA3", "\x81\x92", "\xEF\xBF\xA1"},
                    JisFormCase{"Yen", "\xC2\xA5", "\x5C", "\\"},
                    JisFormCase{"Not", "\xC2\xAC", "\x81\xCA", "\xEF\xBF\xA2"},
                    JisFormCase{"EmDash", "\xE2\x80\x94", "\x81\x5C", "\xE2\x80\x95"},
                    JisFormCase{"DoubleBar", "\xE2\x80\x96", "\x81\x61", "\xE2\x88\xA5"},
                    JisFormCase{"Overline", "\xE2\x80\xBE", "\x7E", "~"},
                    JisFormCase{"Minus", "\xE2\x88\x92", "\x81\x7C", "\xEF\xBC\x8D"},
                    JisFormCase{"WaveDash", "\xE3\x80\x9C", "\x81\x60", "\xEF\xBD\x9E"},
                    JisFormCase{"AmongText",
                                "1\xE3\x80\x9C"
                                "2\xE2\x88\x92\xE8\xA8\x98",
                                "1\x81\x60"
                                "2\x81\x7C\x8B\x4C",
                                "1\xEF\xBD\x9E"
                                "2\xEF\xBC\x8D\xE8\xA8\x98"}),
    [](const testing::TestParamInfo<JisFormCase>& info) { return info.param.name; });

struct DisplayCase {
    const char* name;
    std::string cp932;
    std::string utf8;
};

class Cp932ToUtf8LossyCases : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(Cp932ToUtf8LossyCases, KeepsWhatDecodesAndMarksWhatDoesNot) {
    EXPECT_EQ(Cp932ToUtf8Lossy(GetParam().cp932), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Cp932ToUtf8LossyCases,
    ::testing::Values(DisplayCase{"Empty", "", ""},
                      DisplayCase{"Ascii", "Time=10sec", "Time=10sec"},
                      // "周波数" and half-width katakana "ｶﾅ".
                      DisplayCase{"DoubleAndHalfWidth", "\x8e\xfc\x94\x67\x90\x94\xb6\xc5",
                                  "周波数ｶﾅ"},
                      // NEC special characters exist in CP932 but not in Shift_JIS.
                      DisplayCase{"NecSpecial", "\x87\x40\x87\x41", "①②"},
                      // A lead byte with nothing after it at the end.
                      DisplayCase{"CutLeadByte", "ab\x8e", "ab\xEF\xBF\xBD"},
                      // A lead byte followed by a byte that cannot trail: only the lead is
                      // lost, the next character survives.
                      DisplayCase{"BadTrail", "\x81\x20x", "\xEF\xBF\xBD x"},
                      // Bytes that CP932 leaves undefined.
                      DisplayCase{"Undefined", "a\xa0z\xfd", "a\xEF\xBF\xBDz\xEF\xBF\xBD"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quolix
