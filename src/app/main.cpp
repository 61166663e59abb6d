#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QTranslator>

#include "app/CMainFrame.h"
#include "app/CQuolixApp.h"
#include "app/CommandLineInfo.h"
#include "app/StartupTiming.h"
#include "app/Translation.h"
#include "framework/qt/QtDeviceContext.h"
#include "framework/qt/QtViewHost.h"

int main(int argc, char** argv) {
    // --help and --version are answered before QApplication looks for a
    // display, so they work over ssh. Anything else waits until Qt has taken
    // its own options (-platform, -display...) out of the command line.
    const std::vector<std::string> early(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (const std::optional<int> status =
            quolix::app::CommandLineInfo::Parse(early).AnswerWithoutWindow(stdout)) {
        return *status;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quolix"));

    // The framework's own dialogs and buttons speak Japanese like the rest.
    quolix::app::UseJapaneseLocale();
    QTranslator translator;
    quolix::app::InstallJapaneseTranslation(translator);
    quolix::InstallFontSubstitutions();

    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    quolix::app::CQuolixApp app(quolix::app::CQuolixApp::Options{});
    if (const std::optional<int> status = app.InitInstance(arguments)) {
        return *status;
    }
    if (qEnvironmentVariableIsSet("QUOLIX_STARTUP_TIMING")) {
        quolix::app::ReportFirstPaint(app.Frame().Host());
    }
    return QApplication::exec();
}
