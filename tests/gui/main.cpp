#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "framework/qt/QtDeviceContext.h"

// Widgets need a QApplication for the whole run. The offscreen platform is the
// default here, so that test discovery at build time needs no display either.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // Keep the recent-file list and other desktop settings out of the user's own.
    QStandardPaths::setTestModeEnabled(true);
    // And the copies of unsaved recordings out of the user's state folder.
    const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    quolix::InstallFontSubstitutions();
    return RUN_ALL_TESTS();
}
