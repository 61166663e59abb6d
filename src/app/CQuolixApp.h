#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QString>

#include "acquisition/CQuolixDoc.h"
#include "acquisition/CQuolixView.h"
#include "app/RecentFileList.h"
#include "framework/CommandRouter.h"
#include "framework/CommandTarget.h"
#include "framework/DocumentFile.h"
#include "framework/RecoveryFile.h"
#include "link/SerialLink.h"
#include "settings/SettingsLocation.h"

class QPrinter;

namespace quolix {

class CounterLink;
class PrintDestination;

namespace app {

class CMainFrame;
class LockKeyWatch;

// The application: starts the program in the framework's order (settings for
// the show state, document, frame and view, then the command line), owns the
// one document, view and frame, and carries the application's and the
// document's file and print commands.
class CQuolixApp : public QObject, public CommandTarget {
    Q_OBJECT
  public:
    using MessageSink = std::function<void(const QString& text, const QString& caption)>;
    // A question with the given buttons; returns the one chosen.
    using QuestionSink = std::function<QMessageBox::StandardButton(
        const QString& text, const QString& caption, QMessageBox::StandardButtons buttons)>;

    struct Options {
        // Where the settings are read and written, chosen once at start-up;
        // --settings FILE on the command line replaces it.
        SettingsLocation settings;
        // The counter; null means the serial port named in the settings.
        CounterLink* link = nullptr;
        // Where messages go; null means modal message boxes.
        MessageSink messages;
        // Who answers questions; null means modal message boxes.
        QuestionSink questions;
        // Where unsaved recordings are kept; empty means RecoveryFile's
        // default folder.
        std::string recoveryFolder;
        // The printer to print on; null means one made for the default printer.
        QPrinter* printer = nullptr;
        // What the spooler says about a printer; null means CUPS.
        const PrintDestination* printDestination = nullptr;
    };

    explicit CQuolixApp(Options options);
    ~CQuolixApp() override;

    // Runs start-up with the program's arguments (without its name). Returns
    // an exit status when the program should end at once (printing from the
    // command line, a file that cannot be opened, bad arguments), or nothing
    // when the main window is up and the event loop should run.
    std::optional<int> InitInstance(const std::vector<std::string>& arguments);

    // Runs a command through the routing when it is enabled, then brings
    // menus and toolbar up to date. True when a handler ran.
    bool ExecuteCommand(uint32_t id);
    void UpdateCommandStates();
    // The link's panes and the lock keys, from the view's state: at most once
    // a second from the ticks, at once after a command.
    void UpdateStatusPanes(bool now);

    bool OnCmdMsg(uint32_t id) override;
    bool HasCmdHandler(uint32_t id) const override;

    // The document commands behind the file dialogs. Failures are told to the
    // user, naming the file; the result says whether the command succeeded.
    bool NewDocument();
    bool OpenDocumentFile(const QString& path);
    bool SaveDocument();
    bool SaveDocumentAs(const QString& path);
    // Prints the view's page on the given printer (or PDF file), the job
    // named after the document.
    bool PrintTo(QPrinter& printer);
    // The document as the title bar names it: its file name, or "無題".
    QString DocumentTitle() const;
    // Asks whether to save a modified document: true when the command that
    // asked may go on (saved, or not to be saved), false when it is
    // cancelled (also when the save failed or its dialog was cancelled).
    bool SaveModified();
    // Offers the recordings that instances which ended without saving left
    // behind; the first one accepted becomes the document.
    void OfferRecovery();
    const RecoveryFile& Recovery() const { return recovery_; }
    // After anything that may have changed the document (the window runs it
    // after every tick and command): the title's mark and the recovery copy
    // follow the document.
    void DocumentChanged();

    CQuolixDoc& Document() { return doc_; }
    CQuolixView& View() { return view_; }
    CMainFrame& Frame() { return *frame_; }
    const RecentFileList& RecentFiles() const { return recent_; }

  private:
    void ShowMessage(const QString& text);
    // A failure of a command-line print, which has no window: on the
    // terminal, and in a message box where one can be seen.
    void ReportWithoutWindow(const QString& text);
    std::optional<int> PrintFromCommandLine(std::string fileName);
    Status PrintDocument(QPrinter& printer);
    // Tells the user about a failed file command; true when it succeeded.
    bool Report(const Status& result);
    // A file opened or saved goes to the top of the recent-file list and
    // names the window.
    void RememberFile(const QString& path);
    void UpdateTitle();
    QMessageBox::StandardButton Ask(const QString& text, QMessageBox::StandardButtons buttons);
    void OnFileOpen();
    void OnFileSaveAs();
    void OnFilePrint(bool withDialog);
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    void OnRecentFile(int index);
    void RunDemo(int seconds, const QString& folder);
    QPrinter& Printer();
    const PrintDestination& Destination() const;

    Options options_;
    SerialLink serialLink_;
    CQuolixDoc doc_;
    CQuolixView view_;
    std::unique_ptr<CMainFrame> frame_;
    // The view's inputs the command states were last computed from.
    CQuolixView::EnablingInputs enablingInputs_;
    unsigned long long tickChange_ = 0;
    std::unique_ptr<QPrinter> ownPrinter_;
    QPrinter* printer_ = nullptr;
    std::unique_ptr<PrintDestination> cups_;
    RecentFileList recent_;
    CommandRouter router_;
    RecoveryFile recovery_;
    // The change the user last chose not to save, so that one answer does
    // for the session's end and the window's closing after it.
    std::optional<unsigned long long> declinedChange_;
    bool recoveryFailed_ = false;
    bool askBeforeClosing_ = true;
    QElapsedTimer statusClock_;
    // Null until the window exists; then it says when the lights change.
    LockKeyWatch* lockKeyWatch_ = nullptr;
};

}  // namespace app
}  // namespace quolix
