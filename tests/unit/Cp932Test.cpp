#include "framework/Cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace quolix {
namespace {

TEST(Cp932Test, JapaneseTextConvertsBothWays) {
    struct Case {
        std::string utf8;
        std::string cp932;
    };
    const Case cases[] = {
        {"", ""},
        {"Quolix V1.001", "Quolix V1.001"},
        {"記録", "\x8b\x4c\x98\x5e"},
        {"ﾃｽﾄ", "\xc3\xbd\xc4"},       // half-width katakana are single bytes
        {"～", "\x81\x60"},            // the wave dash as CP932 has it
        {"①", "\x87\x40"},             // an NEC special character
        {"表示", "\x95\x5c\x8e\xa6"},  // trail byte 0x5C, a backslash in ASCII
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932) << c.utf8;
        EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8) << c.utf8;
    }
}

TEST(Cp932Test, TextCp932CannotHoldIsRefused) {
    EXPECT_EQ(Utf8ToCp932("emoji \xF0\x9F\x98\x80"), std::nullopt);
    EXPECT_EQ(Utf8ToCp932("bad \xC3"), std::nullopt);       // cut-off UTF-8
    EXPECT_EQ(Utf8ToCp932("bad \xFF here"), std::nullopt);  // not UTF-8 at all
}

TEST(Cp932Test, BytesThatAreNotCp932AreRefused) {
    EXPECT_EQ(Cp932ToUtf8("\x82"), std::nullopt);      // lead byte without trail
    EXPECT_EQ(Cp932ToUtf8("\x82\x20"), std::nullopt);  // invalid trail byte
}

TEST(Cp932Test, LossyConversionMarksEachUnconvertibleCharacter) {
    EXPECT_EQ(Utf8ToCp932Lossy("a\xF0\x9F\x98\x80"
                               "b"),
              "a?b");
    EXPECT_EQ(Utf8ToCp932Lossy("記\xFF録"), "\x8b\x4c?\x98\x5e");
    EXPECT_EQ(Utf8ToCp932Lossy("end\xE8\xA8"), "end??");
    EXPECT_EQ(Utf8ToCp932Lossy("記録"), "\x8b\x4c\x98\x5e");
    // Long enough to need more than one round of the converter's buffer.
    const std::string longText(2000, 'x');
    EXPECT_EQ(Utf8ToCp932Lossy(longText + "\xF0\x9F\x98\x80"), longText + "?");
}

}  // namespace
}  // namespace quolix
