#include "framework/qt/Cp932LineEdit.h"

#include <gtest/gtest.h>

#include "DialogTestSupport.h"

namespace quolix {
namespace {

using testing::Cp932;
using testing::U;

std::string BytesOf(const Cp932LineEdit& edit) {
    std::string bytes;
    EXPECT_TRUE(edit.GetCp932Text(bytes));
    return bytes;
}

TEST(Cp932LineEdit, TypingStopsAtTheByteLimitCountingDoubleByteCharactersTwice) {
    Cp932LineEdit edit(10);
    testing::TypeText(&edit, U("a") + QString(6, QChar(0x3042)));  // a, then six あ
    EXPECT_EQ(edit.text(), U("aああああ"));  // 9 bytes; one あ more would be 11
    EXPECT_EQ(edit.LastRefusal(), Cp932LineEdit::TooLongText());
    QTest::keyClicks(&edit, "bc");  // a single byte still fits
    EXPECT_EQ(BytesOf(edit), Cp932("aああああb"));
}

TEST(Cp932LineEdit, PasteAndInputMethodCommitsAreRefusedWholeWhenTheyDoNotFit) {
    Cp932LineEdit edit(4);
    edit.insert(U("abcde"));
    EXPECT_EQ(edit.text(), QString());
    testing::CommitText(&edit, U("かなか"));
    EXPECT_EQ(edit.text(), QString());
    testing::CommitText(&edit, U("かな"));
    EXPECT_EQ(edit.text(), U("かな"));
}

TEST(Cp932LineEdit, RefusesCharactersCp932CannotHoldWithAnExplanation) {
    const QString refused[] = {U("😀"), U("한"), U("€"), QString(QChar(0xD800))};
    for (const QString& text : refused) {
        Cp932LineEdit edit;
        QString reported;
        QObject::connect(&edit, &Cp932LineEdit::inputRefused,
                         [&](const QString& reason) { reported = reason; });
        edit.SetCp932Text("ab");
        testing::TypeText(&edit, text);
        edit.insert(text);
        testing::CommitText(&edit, U("x") + text);
        EXPECT_EQ(edit.text(), U("ab")) << text.toStdString();
        EXPECT_EQ(reported, U("この文字は使用できません。"));
    }
}

TEST(Cp932LineEdit, AnOverLongShownTextCanShrinkButNotGrow) {
    Cp932LineEdit edit(4);
    edit.SetCp932Text("abcdef");
    edit.end(false);
    QTest::keyClicks(&edit, "g");
    EXPECT_EQ(edit.text(), U("abcdef"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), U("abcde"));
    QTest::keyClicks(&edit, "x");
    EXPECT_EQ(edit.text(), U("abcde"));
}

TEST(Cp932LineEdit, GivesBackTheShownBytesUntilEdited) {
    Cp932LineEdit edit;
    const std::string damaged = "ok\x81\x20";  // a lead byte without its trail byte
    edit.SetCp932Text(damaged);
    EXPECT_EQ(BytesOf(edit), damaged);
    // Removing the damage is allowed, adding more refused.
    testing::TypeText(&edit, U("😀"));
    EXPECT_EQ(BytesOf(edit), damaged);
    edit.setCursorPosition(3);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(BytesOf(edit), "ok ");
}

TEST(Cp932LineEdit, AnEditedTextStillHoldingUndecodableBytesCannotBeTaken) {
    Cp932LineEdit edit;
    edit.SetCp932Text("\x81");
    QTest::keyClicks(&edit, "a");
    std::string out = "old";
    EXPECT_FALSE(edit.GetCp932Text(out));
    EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace quolix
