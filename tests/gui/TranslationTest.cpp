#include "app/Translation.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QTranslator>

#include <gtest/gtest.h>

namespace quolix::app {
namespace {

TEST(TranslationTest, TheFrameworksOwnButtonsSpeakJapanese) {
    QTranslator translator;
    ASSERT_TRUE(InstallJapaneseTranslation(translator)) << "qt6-translations-l10n is needed";
    // The standard buttons of Qt's message boxes and dialogs.
    const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
    QCoreApplication::removeTranslator(&translator);
    EXPECT_NE(cancel, QStringLiteral("Cancel"));
    EXPECT_TRUE(cancel.contains(QStringLiteral("キャンセル"))) << cancel.toStdString();
}

TEST(TranslationTest, DatesAndNumbersFollowJapaneseWhateverTheSystemsLocale) {
    const QLocale previous;
    UseJapaneseLocale();
    const QLocale locale;
    QLocale::setDefault(previous);
    EXPECT_EQ(locale.language(), QLocale::Japanese);
    EXPECT_EQ(locale.toString(QDate(2024, 12, 7), QLocale::ShortFormat).toStdString(),
              "2024/12/07");
    EXPECT_EQ(locale.formattedDataSize(1).toStdString(), "1 バイト");
}

}  // namespace
}  // namespace quolix::app
