// quolix-cli-render: the drawing half of "quolix-cli render", kept apart so
// that quolix-cli itself never loads Qt. It takes the same arguments as that
// subcommand and is normally started by it.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QApplication>

#include "acquisition/CQuolixDoc.h"
#include "cli/CliContext.h"
#include "cli/CommandSupport.h"
#include "cli/ExitStatus.h"
#include "cli/ProgramPaths.h"
#include "cli/RecordingInput.h"
#include "cli/RecordingUnit.h"
#include "cli/RenderCommand.h"
#include "cli/Reporter.h"
#include "cli/render/GraphImage.h"
#include "framework/qt/QtDeviceContext.h"
#include "settings/SettingsRecord.h"

namespace {

// Qt's own notes (a missing runtime folder, font fallbacks) mean nothing to
// the user of a command-line tool; its errors still get through.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "quolix-cli: %s\n", message.toLocal8Bit().constData());
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quolix;
    using namespace quolix::cli;
    // Messages carry the name of the command the user ran.
    Reporter reporter(stderr, "quolix-cli");
    const std::string folder = ProgramFolder();
    // quolix-cli always names the file to read; the helper's own folder
    // holds none.
    CliContext context{SettingsLocation::Explicit(SettingsPathIn(folder)), folder, stdout,
                       reporter};
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    RenderOptions options;
    if (const std::optional<int> status = ParseRenderOptions(args, context, options)) {
        return *status;
    }
    // The file is checked before Qt starts: a bad file costs nothing more.
    CQuolixDoc doc;
    if (!LoadRecording(options.file, doc, reporter)) {
        return ExitFileError;
    }
    SettingsRecord settings;
    LoadSettings(context, settings);
    // The kHz texts of the picture in the recording's own unit when it has one.
    settings.Int(SettingsRecord::Resolution) =
        ReadingResolution(doc, options.file, std::nullopt, context);

    // Drawing into files needs no display, whatever the session offers.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietQtMessages);
    int qtArgc = 1;
    std::string program = argc > 0 ? argv[0] : "quolix-cli-render";
    char* qtArgv[] = {program.data(), nullptr};
    QApplication application(qtArgc, qtArgv);
    InstallFontSubstitutions();

    if (const Status written = render::WriteGraphImage(doc, settings, options); !written.ok) {
        reporter.Say(options.output, written.message);
        return ExitFileError;
    }
    return ExitOk;
}
