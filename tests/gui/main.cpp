#include <QApplication>

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
    quolix::InstallFontSubstitutions();
    return RUN_ALL_TESTS();
}
