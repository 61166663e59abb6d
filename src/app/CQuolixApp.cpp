#include "app/CQuolixApp.h"

#include <cstdio>

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSessionManager>
#include <QTimer>
#include <QToolBar>

#include "QuolixVersion.h"
#include "acquisition/StatusTexts.h"
#include "app/CMainFrame.h"
#include "app/CommandLineInfo.h"
#include "app/DialogRunners.h"
#include "app/LockKeyWatch.h"
#include "app/LockKeys.h"
#include "app/MainFrameUi.h"
#include "framework/CommandIds.h"
#include "framework/DocumentFile.h"
#include "framework/qt/CupsDestination.h"
#include "framework/qt/FileDialogs.h"
#include "framework/qt/QtPrinting.h"
#include "framework/qt/QtViewHost.h"
#include "settings/SettingsStore.h"

namespace quolix::app {

namespace {

const QString AppTitle = QStringLiteral("Quolix");
const QString FileFilter = QStringLiteral("Quolix ﾌｧｲﾙ (*.qlx)");

bool IsRecentFileCommand(uint32_t id) {
    return id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + RecentFileList::MaxEntries;
}

std::string ToPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Where a print goes, for the preview's title.
QString PrinterLabel(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        return printer.outputFileName().isEmpty()
                   ? QStringLiteral("プリンタなし")
                   : QStringLiteral("PDF ファイル %1").arg(printer.outputFileName());
    }
    return QStringLiteral("プリンタ %1").arg(printer.printerName());
}

// The preview's toolbar gets a 閉じる button; its only way out was the
// window's close box (and Esc).
void AddCloseButton(QPrintPreviewDialog& preview) {
    auto* close = new QAction(QStringLiteral("閉じる"), &preview);  // owned by the preview
    QObject::connect(close, &QAction::triggered, &preview, &QDialog::reject);
    if (auto* toolBar = preview.findChild<QToolBar*>()) {
        toolBar->addSeparator();
        toolBar->addAction(close);
    } else {
        preview.addAction(close);
    }
}

}  // namespace

CQuolixApp::CQuolixApp(Options options)
    : options_(std::move(options)),
      view_(options_.link != nullptr ? *options_.link : serialLink_),
      cups_(std::make_unique<CupsDestination>()),
      recovery_(options_.recoveryFolder.empty() ? RecoveryFile::DefaultFolder()
                                                : options_.recoveryFolder) {
    view_.SetRecordingOrigin({{}, {}, std::string("quolix ") + VersionText});
    view_.AttachDocument(&doc_);
    router_ = CommandRouter(&view_, &doc_, nullptr, this);
}

CQuolixApp::~CQuolixApp() {
    if (frame_) {
        frame_->Shutdown();
    }
    // A clean exit: whatever was unsaved, the user has decided about it.
    recovery_.Remove();
}

std::optional<int> CQuolixApp::InitInstance(const std::vector<std::string>& arguments) {
    const CommandLineInfo info = CommandLineInfo::Parse(arguments);
    if (const std::optional<int> status = info.AnswerWithoutWindow(stdout)) {
        return status;
    }
    if (info.action == CommandLineInfo::Action::Invalid) {
        std::fprintf(stderr, "%s\n%s", info.error.c_str(), CommandLineInfo::Usage());
        return 2;
    }

    if (!info.settingsFile.empty()) {
        options_.settings = SettingsLocation::Explicit(info.settingsFile);
    }
    view_.SetSettingsLocation(options_.settings);

    // Only the show state of the last exit is wanted here.
    SettingsRecord startup;
    SettingsStore(options_.settings).LoadInto(startup);
    const bool maximized = startup.Int(SettingsRecord::ShowState) == SettingsRecord::ShowMaximized;

    frame_ = std::make_unique<CMainFrame>(view_, options_.settings);
    frame_->SetMessageSink([this](const QString& text) { ShowMessage(text); });
    QtViewHost& host = frame_->Host();
    if (options_.messages) {
        host.SetMessageBoxRunner(options_.messages);
    } else if (info.action == CommandLineInfo::Action::FilePrint) {
        // A print shows no window: the view's word about the counter, which
        // the print does not need, goes to the terminal. A box would stand in
        // the print's way, and without a display nobody could close it.
        host.SetMessageBoxRunner([](const QString& text, const QString&) {
            std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        });
    }
    // Only the view's state decides command states, and a tick seldom changes
    // it; menus ask again when they open.
    host.SetAfterTick([this] {
        if (!(view_.GetEnablingInputs() == enablingInputs_)) {
            UpdateCommandStates();
        }
        // Most ticks store nothing: the title and the recovery copy follow
        // the document only when it changed.
        if (doc_.ChangeCount() != tickChange_) {
            tickChange_ = doc_.ChangeCount();
            DocumentChanged();
        }
        UpdateStatusPanes(false);
    });
    host.SetSettingsDialogRunner([this](SettingsRecord& record) {
        std::string saveFailure;
        const DialogResult result =
            RunSettingsDialog(frame_.get(), options_.settings, record, saveFailure);
        if (!saveFailure.empty()) {
            ShowMessage(QString::fromStdString(saveFailure) +
                        QStringLiteral("\n変更は Quolix を終了するまで有効です。"));
        }
        return result;
    });
    // The view's questions go where the application's own go.
    host.SetQuestionRunner([this](const QString& text, const QString&) {
        return Ask(text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    });
    host.SetCommentDialogRunner([this](std::array<std::string, 3>& lines) {
        return RunCommentDialog(frame_.get(), lines);
    });
    frame_->Create();
    lockKeyWatch_ = new LockKeyWatch(this);  // owned by the application object
    connect(lockKeyWatch_, &LockKeyWatch::lightsChanged, this,
            [this] { frame_->Ui().ShowLockKeys(LockKeys::Read()); });
    frame_->SetCloseQuery([this] { return !askBeforeClosing_ || SaveModified(); });
    // The desktop session is ending: the same question, while it may be asked.
    connect(
        qApp, &QGuiApplication::commitDataRequest, this,
        [this](QSessionManager& manager) {
            if (askBeforeClosing_ && manager.allowsInteraction()) {
                const bool goOn = SaveModified();
                manager.release();
                if (!goOn) {
                    manager.cancel();
                }
            }
        },
        Qt::DirectConnection);
    router_.SetFrame(frame_.get());
    connect(frame_.get(), &CMainFrame::commandTriggered, this,
            [this](uint32_t id) { ExecuteCommand(id); });
    connect(&frame_->Ui(), &MainFrameUi::menuAboutToShow, this, &CQuolixApp::UpdateCommandStates);
    connect(frame_.get(), &CMainFrame::recentFileChosen, this, &CQuolixApp::OnRecentFile);
    connect(frame_.get(), &CMainFrame::filesDropped, this,
            [this](const QStringList& paths) { OpenDocumentFile(paths.first()); });
    frame_->SetRecentFiles(recent_.Files());

    switch (info.action) {
        case CommandLineInfo::Action::FileOpen:
            if (!OpenDocumentFile(QFile::decodeName(info.fileName.c_str()))) {
                return 1;
            }
            break;
        case CommandLineInfo::Action::FilePrint:
            return PrintFromCommandLine(info.fileName);
        default:
            NewDocument();
            break;
    }

    UpdateTitle();
    if (maximized) {
        frame_->showMaximized();
    } else {
        frame_->show();
    }
    UpdateCommandStates();
    UpdateStatusPanes(true);
    if (info.action == CommandLineInfo::Action::Demo) {
        RunDemo(info.demoSeconds, QFile::decodeName(info.demoFolder.c_str()));
    } else if (info.action != CommandLineInfo::Action::FileOpen) {
        OfferRecovery();
    }
    return std::nullopt;
}

bool CQuolixApp::ExecuteCommand(uint32_t id) {
    const bool ran = router_.Execute(id);
    UpdateCommandStates();
    DocumentChanged();
    UpdateStatusPanes(true);
    return ran;
}

void CQuolixApp::UpdateStatusPanes(bool now) {
    constexpr qint64 PeriodMs = 1000;
    if (!frame_ || !frame_->HasUi() ||
        (!now && statusClock_.isValid() && statusClock_.elapsed() < PeriodMs)) {
        return;
    }
    statusClock_.start();
    frame_->Ui().ShowLinkTexts(StatusTexts::Of(view_));
    // Where the server tells of the lights' changes, the seconds leave them be.
    if (now || lockKeyWatch_ == nullptr || !lockKeyWatch_->Watching()) {
        frame_->Ui().ShowLockKeys(LockKeys::Read());
    }
}

void CQuolixApp::UpdateCommandStates() {
    enablingInputs_ = view_.GetEnablingInputs();
    if (frame_ && frame_->HasUi()) {
        frame_->Ui().UpdateEnabled([this](uint32_t id) { return router_.IsEnabled(id); });
    }
}

bool CQuolixApp::HasCmdHandler(uint32_t id) const {
    switch (id) {
        case ID_FILE_NEW:
        case ID_FILE_OPEN:
        case ID_FILE_SAVE:
        case ID_FILE_SAVE_AS:
        case ID_FILE_PRINT:
        case ID_FILE_PRINT_DIRECT:
        case ID_FILE_PRINT_PREVIEW:
        case ID_FILE_PRINT_SETUP:
        case ID_APP_EXIT:
        case ID_APP_ABOUT:
            return true;
        default:
            return IsRecentFileCommand(id);
    }
}

bool CQuolixApp::OnCmdMsg(uint32_t id) {
    switch (id) {
        case ID_FILE_NEW:
            if (SaveModified()) {
                NewDocument();
            }
            return true;
        case ID_FILE_OPEN:
            OnFileOpen();
            return true;
        case ID_FILE_SAVE:
            SaveDocument();
            return true;
        case ID_FILE_SAVE_AS:
            OnFileSaveAs();
            return true;
        case ID_FILE_PRINT:
            OnFilePrint(true);
            return true;
        case ID_FILE_PRINT_DIRECT:
            OnFilePrint(false);
            return true;
        case ID_FILE_PRINT_PREVIEW:
            OnFilePrintPreview();
            return true;
        case ID_FILE_PRINT_SETUP:
            OnFilePrintSetup();
            return true;
        case ID_APP_ABOUT:
            RunAboutDialog(frame_.get(), options_.settings);
            return true;
        case ID_APP_EXIT:
            if (frame_) {
                frame_->close();
            }
            return true;
        default:
            if (IsRecentFileCommand(id)) {
                OnRecentFile(static_cast<int>(id - ID_FILE_MRU_FILE1));
                return true;
            }
            return false;
    }
}

void CQuolixApp::ShowMessage(const QString& text) {
    if (options_.messages) {
        options_.messages(text, AppTitle);
        return;
    }
    QMessageBox::warning(frame_.get(), AppTitle, text);
}

void CQuolixApp::ReportWithoutWindow(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    // A print from the desktop's menu has no terminal to read.
    if (options_.messages || QGuiApplication::platformName() != QLatin1String("offscreen")) {
        ShowMessage(text);
    }
}

std::optional<int> CQuolixApp::PrintFromCommandLine(std::string fileName) {
    if (fileName.empty()) {
        // The desktop's print action without a file: ask for one.
        const QString chosen = filedialog::GetOpenFileName(
            nullptr, QStringLiteral("印刷するファイルを開く"), QString(), FileFilter);
        if (chosen.isEmpty()) {
            return 0;
        }
        fileName = ToPath(chosen);
    }
    const Status opened = docfile::Open(doc_, fileName);
    if (!opened.ok) {
        ReportWithoutWindow(QString::fromStdString(opened.message));
        return 1;
    }
    const Status printed = PrintDocument(Printer());
    if (!printed.ok) {
        ReportWithoutWindow(QString::fromStdString(printed.message));
        return 1;
    }
    return 0;
}

QString CQuolixApp::DocumentTitle() const {
    const std::string& path = doc_.GetPathName();
    return path.empty() ? QStringLiteral("無題")
                        : QFileInfo(QFile::decodeName(path.c_str())).fileName();
}

void CQuolixApp::UpdateTitle() {
    if (frame_) {
        frame_->SetDocumentTitle(DocumentTitle(), doc_.IsModified());
    }
}

void CQuolixApp::DocumentChanged() {
    UpdateTitle();
    const Status kept = recovery_.Update(doc_);
    // Told once when the copy starts failing, not at every sample.
    if (!kept.ok && !recoveryFailed_) {
        ShowMessage(QStringLiteral("保存されていない記録の控えを作れません。\n") +
                    QString::fromStdString(kept.message));
    }
    recoveryFailed_ = !kept.ok;
}

QMessageBox::StandardButton CQuolixApp::Ask(const QString& text,
                                            QMessageBox::StandardButtons buttons) {
    if (options_.questions) {
        return options_.questions(text, AppTitle, buttons);
    }
    return RunQuestionBox(frame_.get(), text, AppTitle, buttons);
}

bool CQuolixApp::SaveModified() {
    if (!doc_.IsModified() || declinedChange_ == doc_.ChangeCount()) {
        return true;
    }
    // The recording goes on while the question is open.
    switch (Ask(QStringLiteral("%1 への変更を保存しますか?").arg(DocumentTitle()),
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
        case QMessageBox::Yes:
            return SaveDocument();
        case QMessageBox::No:
            declinedChange_ = doc_.ChangeCount();
            return true;
        default:
            return false;
    }
}

void CQuolixApp::OfferRecovery() {
    for (const std::string& path : RecoveryFile::Leftovers(recovery_.Folder())) {
        CQuolixDoc leftover;
        const Status readable = RecoveryFile::Open(leftover, path);
        if (!readable.ok) {
            // Never loaded in part, never offered again; kept for a look.
            const Status moved = RecoveryFile::MoveAside(path);
            ShowMessage(QString::fromStdString(readable.message) +
                        QStringLiteral("\n復元できない記録は %1.damaged に移しました。")
                            .arg(QFile::decodeName(path.c_str())) +
                        (moved.ok ? QString() : QString::fromStdString("\n" + moved.message)));
            continue;
        }
        // Named after the copy it came from, whose time is the last sample's.
        const QDateTime lastSample =
            QFileInfo(QFile::decodeName(leftover.GetPathName().c_str())).lastModified();
        const QString question =
            QStringLiteral(
                "前回、保存されずに終了した記録があります。復元しますか?\n\n"
                "最後のサンプル: %1\nサンプル数: %2")
                .arg(lastSample.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")))
                .arg(leftover.count);
        if (Ask(question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
            RecoveryFile::Discard(path);
            continue;
        }
        if (!Report(RecoveryFile::Open(doc_, path))) {
            return;
        }
        // An untitled document with unsaved data, which Start continues as
        // after an Open; the old copy goes once this instance has its own.
        doc_.SetPathName({});
        doc_.SetModifiedFlag();
        DocumentChanged();
        if (recovery_.Path() != path && !recoveryFailed_) {
            RecoveryFile::Discard(path);
        }
        if (frame_) {
            frame_->Host().Invalidate();
        }
        UpdateCommandStates();
        return;
    }
}

bool CQuolixApp::Report(const Status& result) {
    if (!result.ok) {
        ShowMessage(QString::fromStdString(result.message));
    }
    return result.ok;
}

void CQuolixApp::RememberFile(const QString& path) {
    recent_.Add(path);
    if (frame_) {
        frame_->SetRecentFiles(recent_.Files());
    }
    UpdateTitle();
}

bool CQuolixApp::NewDocument() {
    const bool ok = Report(docfile::New(doc_));
    DocumentChanged();
    if (frame_) {
        frame_->Host().Invalidate();
    }
    return ok;
}

bool CQuolixApp::OpenDocumentFile(const QString& path) {
    if (!SaveModified() || !Report(docfile::Open(doc_, ToPath(path)))) {
        return false;
    }
    RememberFile(path);
    DocumentChanged();
    if (frame_) {
        frame_->Host().Invalidate();
        // A file named on the command line opens before the window shows:
        // the question waits for the window, so it is not asked out of nowhere.
        if (frame_->isVisible()) {
            view_.OnDocumentOpened();
        } else {
            QTimer::singleShot(0, this, [this] { view_.OnDocumentOpened(); });
        }
    }
    return true;
}

bool CQuolixApp::SaveDocument() {
    if (doc_.GetPathName().empty()) {
        OnFileSaveAs();
        return !doc_.GetPathName().empty();
    }
    const bool saved = Report(docfile::Save(doc_));
    DocumentChanged();
    return saved;
}

bool CQuolixApp::SaveDocumentAs(const QString& path) {
    if (!Report(docfile::SaveAs(doc_, ToPath(path)))) {
        return false;
    }
    RememberFile(path);
    DocumentChanged();
    return true;
}

void CQuolixApp::OnFileOpen() {
    const QString path =
        filedialog::GetOpenFileName(frame_.get(), QStringLiteral("開く"), QString(), FileFilter);
    if (!path.isEmpty()) {
        OpenDocumentFile(path);
    }
}

void CQuolixApp::OnFileSaveAs() {
    const std::string& current = doc_.GetPathName();
    QString path = filedialog::GetSaveFileName(
        frame_.get(), QStringLiteral("名前を付けて保存"),
        current.empty() ? QString() : QFile::decodeName(current.c_str()), FileFilter);
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".qlx");
    }
    SaveDocumentAs(path);
}

const PrintDestination& CQuolixApp::Destination() const {
    return options_.printDestination != nullptr ? *options_.printDestination : *cups_;
}

QPrinter& CQuolixApp::Printer() {
    if (printer_ == nullptr) {
        if (options_.printer != nullptr) {
            printer_ = options_.printer;
        } else {
            ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer_ = ownPrinter_.get();
        }
        StartOnDefaultPaper(*printer_, Destination());
        PreparePrinter(*printer_);
    }
    return *printer_;
}

Status CQuolixApp::PrintDocument(QPrinter& printer) {
    // The spooler lists the job, and a PDF carries its title, under this name.
    printer.setDocName(DocumentTitle());
    const Status printed = PrintViewPage(view_, printer, Destination());
    if (frame_) {
        frame_->Host().Invalidate();
    }
    if (!printed.ok) {
        return Status::Failure(
            DocumentTitle().toStdString() + " を印刷できませんでした。\n" + printed.message,
            printed.error);
    }
    return printed;
}

bool CQuolixApp::PrintTo(QPrinter& printer) {
    return Report(PrintDocument(printer));
}

void CQuolixApp::OnFilePrint(bool withDialog) {
    QPrinter& printer = Printer();
    if (withDialog) {
        QPrintDialog dialog(&printer, frame_.get());
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
    }
    PrintTo(printer);
}

void CQuolixApp::OnFilePrintPreview() {
    QPrinter& printer = Printer();
    PreparePrinter(printer);
    printer.setDocName(DocumentTitle());
    QPrintPreviewDialog preview(&printer, frame_.get());
    preview.setWindowTitle(
        QStringLiteral("%1 の印刷ﾌﾟﾚﾋﾞｭｰ - %2").arg(DocumentTitle(), PrinterLabel(printer)));
    AddCloseButton(preview);
    // The printed layout holds only while a page is drawn: behind the preview
    // the window keeps its own picture and live readout.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* page) {
        if (page->paintEngine() != nullptr &&
            page->paintEngine()->type() == QPaintEngine::Picture) {
            DrawPrintedPage(view_, *page);
        } else {
            // The preview's own print button: a real job, checked like any.
            PrintTo(*page);
        }
    });
    preview.exec();
    frame_->Host().Invalidate();
}

void CQuolixApp::OnFilePrintSetup() {
    QPageSetupDialog dialog(&Printer(), frame_.get());
    dialog.exec();
}

void CQuolixApp::OnRecentFile(int index) {
    const QStringList files = recent_.Files();
    if (index < 0 || index >= files.size()) {
        return;
    }
    const QString path = files.at(index);
    if (!OpenDocumentFile(path) && !QFileInfo::exists(path)) {
        recent_.Remove(path);
        frame_->SetRecentFiles(recent_.Files());
    }
}

void CQuolixApp::RunDemo(int seconds, const QString& folder) {
    // Start recording as soon as the counter answers, then leave a picture of
    // the window and the recording behind and end.
    auto* starter = new QTimer(this);  // owned by the application object
    connect(starter, &QTimer::timeout, this, [this, starter] {
        if (ExecuteCommand(ID_DATA_START)) {
            starter->stop();
        }
    });
    starter->start(100);
    QTimer::singleShot(seconds * 1000, this, [this, folder] {
        // The demo keeps its recording in the file below and asks nothing.
        askBeforeClosing_ = false;
        QDir().mkpath(folder);
        const QString file = QDir(folder).filePath(QStringLiteral("quolix-demo.qlx"));
        const QString picture = QDir(folder).filePath(QStringLiteral("quolix-demo.png"));
        SaveDocumentAs(file);
        frame_->grab().save(picture);
        frame_->close();
        QApplication::quit();
    });
}

}  // namespace quolix::app
