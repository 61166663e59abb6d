#include "framework/qt/QtText.h"

#include <gtest/gtest.h>

#include "base/Cp932.h"

namespace quolix {
namespace {

TEST(QtTextTest, Cp932BecomesTheSameCharacters) {
    EXPECT_EQ(QStringFromCp932("\xDA\xC3\xDE\xA8"), QString::fromUtf8("ﾚﾃﾞｨ"));
    EXPECT_EQ(QStringFromCp932("\x8B\x4C\x98\x5E\x8A\x4A\x8E\x6E"), QString::fromUtf8("記録開始"));
    EXPECT_EQ(QStringFromCp932(""), QString());
    // Single bytes below 0x80 become what the converter makes of them.
    std::string ascii;
    for (int byte = 0; byte < 0x80; ++byte) {
        ascii += static_cast<char>(byte);
    }
    EXPECT_EQ(QStringFromCp932(ascii), QString::fromStdString(Cp932ToUtf8Lossy(ascii)));
}

TEST(QtTextTest, UndecodableBytesBecomeReplacementCharactersOnly) {
    const QString r(QChar::ReplacementCharacter);
    EXPECT_EQ(QStringFromCp932("AB\x82"), "AB" + r);
    EXPECT_EQ(QStringFromCp932("\xA0"
                               "A\x8B\x4C"),
              r + "A" + QString::fromUtf8("記"));
    // A lead byte with a bad trail byte loses only the lead byte.
    EXPECT_EQ(QStringFromCp932("\x82\x20Z"), r + " Z");
}

TEST(QtTextTest, QStringRoundTripsThroughCp932) {
    const QString text = QString::fromUtf8("ＭＳ Ｐゴシック ｶﾅ ABC");
    std::string cp932;
    ASSERT_TRUE(QStringToCp932(text, cp932));
    EXPECT_EQ(cp932.substr(0, 4), "\x82\x6C\x82\x72");
    EXPECT_EQ(QStringFromCp932(cp932), text);
    EXPECT_TRUE(QStringFitsCp932(text));
}

TEST(QtTextTest, TextOutsideCp932IsRefused) {
    std::string out = "stale";
    EXPECT_FALSE(QStringToCp932(QString::fromUtf8("記録\xF0\x9F\x98\x80"), out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(QStringFitsCp932(QString::fromUtf8("\xF0\x9F\x98\x80")));
    // A lone surrogate is not text at all.
    EXPECT_FALSE(QStringFitsCp932(QString(QChar(0xD800))));
}

}  // namespace
}  // namespace quolix
