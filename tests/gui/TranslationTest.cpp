#include "app/Translation.h"

#include <QCoreApplication>
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

}  // namespace
}  // namespace quolix::app
