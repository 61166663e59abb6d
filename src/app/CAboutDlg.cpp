#include "app/CAboutDlg.h"

#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QtGlobal>

#include "QuolixVersion.h"
#include "framework/qt/QtDeviceContext.h"

// The icons live in a static library's resources; registering them again is
// harmless, and it must happen from the global namespace.
static void InitAboutResources() {
    Q_INIT_RESOURCE(quolix);
}

namespace quolix::app {

namespace {
constexpr int IconPixels = 32;  // the platform's standard icon size
}

CAboutDlg::CAboutDlg(QWidget* parent)
    : CDialog(parent), units_(DialogUnits::DialogFont(ScreenDpiY())) {
    static const bool resourcesReady = (InitAboutResources(), true);
    (void)resourcesReady;

    setWindowTitle(QStringLiteral("Quolixのﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DialogUnits::DialogFont(ScreenDpiY()));
    setFixedSize(units_.Size(203, 55));

    icon_ = new QLabel(this);  // children are owned by the dialog
    icon_->setPixmap(QIcon(QStringLiteral(":/quolix/icons/quolix-32.png")).pixmap(IconPixels));
    icon_->setGeometry(QRect(units_.Point(11, 17), QSize(IconPixels, IconPixels)));

    // Both lines come from the one project version: the first in the form
    // the system has always shown ("Quolix Version 1.1"), the second with the
    // whole number and the Qt it runs on, which is what a fault report needs.
    version_ =
        new QLabel(QStringLiteral("Quolix Version %1").arg(QLatin1String(VersionShortText)), this);
    version_->setGeometry(DialogUnits::WidenedToFit(units_.Rect(40, 10, 90, 8), *version_));
    second_ = new QLabel(QStringLiteral("%1 (Qt %2)  Copyright (C) 2026 Quolix")
                             .arg(QLatin1String(VersionText), QLatin1String(qVersion())),
                         this);
    second_->setGeometry(DialogUnits::WidenedToFit(units_.Rect(40, 25, 90, 8), *second_));

    settings_ = new QLabel(this);
    settings_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    settings_->hide();

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setDefault(true);
    ok_->setGeometry(units_.Rect(145, 5, 50, 14));
    connect(ok_, &QPushButton::clicked, this, &CAboutDlg::accept);
}

void CAboutDlg::SetSettingsFile(const std::string& path) {
    settings_->setText(
        QStringLiteral("設定ファイル: %1")
            .arg(path.empty() ? QStringLiteral("(なし)") : QFile::decodeName(path.c_str())));
    settings_->setGeometry(DialogUnits::WidenedToFit(units_.Rect(40, 38, 90, 8), *settings_));
    settings_->show();
    const int needed = settings_->geometry().right() + 1 + units_.X(8);
    if (needed > width()) {
        setFixedSize(needed, height());
    }
}

}  // namespace quolix::app
