#include <cstdio>
#include <optional>
#include <string>
#include <utility>
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
#include "settings/SettingsPath.h"

int main(int argc, char** argv) {
    // Where the settings live is decided now, once: the executable's name can
    // change under a long run (a package upgrade replaces it), and every later
    // save must still go where the first load came from.
    quolix::app::CQuolixApp::Options options;
    options.settings = quolix::SettingsLocation::ForProgram(quolix::ExecutableSettingsPath());

    // --help and --version are answered before QApplication looks for a
    // display, so they work over ssh. Anything else waits until Qt has taken
    // its own options (-platform, -display...) out of the command line.
    const std::vector<std::string> early(argv + (argc > 0 ? 1 : 0), argv + argc);
    const quolix::app::CommandLineInfo earlyInfo = quolix::app::CommandLineInfo::Parse(early);
    if (const std::optional<int> status = earlyInfo.AnswerWithoutWindow(stdout)) {
        return *status;
    }
    // A print from the command line needs no window, so without a display it
    // draws through Qt's offscreen platform; the platform must be chosen
    // before QApplication exists. Asking for the file needs a display.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool noDisplay = platform.startsWith("offscreen") ||
                           (platform.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY") &&
                            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
    if (earlyInfo.action == quolix::app::CommandLineInfo::Action::FilePrint && noDisplay) {
        if (earlyInfo.fileName.empty()) {
            std::fprintf(stderr, "%s\n%s",
                         "画面がないため、印刷するファイルを尋ねられません。"
                         "--print には印刷するファイルを指定してください。",
                         quolix::app::CommandLineInfo::Usage());
            return 2;
        }
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
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
    quolix::app::CQuolixApp app(std::move(options));
    if (const std::optional<int> status = app.InitInstance(arguments)) {
        return *status;
    }
    if (qEnvironmentVariableIsSet("QUOLIX_STARTUP_TIMING")) {
        quolix::app::ReportFirstPaint(app.Frame().Host());
    }
    return QApplication::exec();
}
