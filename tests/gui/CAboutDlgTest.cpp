#include "app/CAboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "QuolixVersion.h"
#include "app/DialogRunners.h"
#include "settings/SettingsLocation.h"

namespace quolix::app {
namespace {

using testing::U;

TEST(AboutDialog, ShowsIconNameAndVersion) {
    CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), U("Quolixのﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(dialog.VersionLine()->text(), U("Quolix Version 1.1"));
    // The details line carries the whole version, from the same source.
    EXPECT_TRUE(dialog.SecondLine()->text().startsWith(QString::fromLatin1(VersionText) + " "))
        << dialog.SecondLine()->text().toStdString();
    EXPECT_EQ(dialog.Icon()->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(dialog.OkButton()->text(), U("OK"));
    EXPECT_TRUE(dialog.OkButton()->isDefault());
}

TEST(AboutDialog, ControlsSitWhereTheTemplatePutsThem) {
    CAboutDlg dialog;
    const DialogUnits& units = dialog.Units();
    EXPECT_EQ(units, DialogUnits(dialog.font()));
    EXPECT_EQ(dialog.size(), units.Size(203, 55));
    EXPECT_EQ(dialog.OkButton()->geometry(), units.Rect(145, 5, 50, 14));
    EXPECT_EQ(dialog.Icon()->pos(), units.Point(11, 17));
    EXPECT_EQ(dialog.VersionLine()->pos(), units.Point(40, 10));
    EXPECT_EQ(dialog.SecondLine()->pos(), units.Point(40, 25));
}

TEST(AboutDialog, OkClosesIt) {
    bool sawIt = false;
    const std::string file = "/home/someone/.config/quolix/" + std::string(60, 'x') + ".ini";
    const testing::WhenModal<CAboutDlg> driver([&](CAboutDlg& dialog) {
        sawIt = true;
        // The settings file in use is named whole, however long.
        EXPECT_EQ(dialog.SettingsLine()->text(),
                  U("設定ファイル: ") + QString::fromStdString(file));
        EXPECT_TRUE(dialog.rect().contains(dialog.SettingsLine()->geometry()));
        dialog.OkButton()->click();
    });
    RunAboutDialog(nullptr, SettingsLocation::Explicit(file));
    EXPECT_TRUE(sawIt);
}

}  // namespace
}  // namespace quolix::app
