#include "app/CQuolixApp.h"

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>

#include "app/CMainFrame.h"
#include "app/CommandLineInfo.h"
#include "app/DialogRunners.h"
#include "app/MainFrameUi.h"
#include "framework/CommandIds.h"
#include "framework/DocumentFile.h"
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

}  // namespace

CQuolixApp::CQuolixApp(Options options)
    : options_(std::move(options)), view_(options_.link != nullptr ? *options_.link : serialLink_) {
    view_.SetSettingsPath(options_.settingsPath);
    view_.AttachDocument(&doc_);
    router_ = CommandRouter(&view_, &doc_, nullptr, this);
}

CQuolixApp::~CQuolixApp() {
    if (frame_) {
        frame_->Shutdown();
    }
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

    // Only the show state of the last exit is wanted here.
    SettingsRecord startup;
    SettingsStore::ForPath(options_.settingsPath).LoadInto(startup);
    const bool maximized = startup.Int(SettingsRecord::ShowState) == SettingsRecord::ShowMaximized;

    frame_ = std::make_unique<CMainFrame>(view_, options_.settingsPath);
    QtViewHost& host = frame_->Host();
    if (options_.messages) {
        host.SetMessageBoxRunner(options_.messages);
    }
    host.SetAfterTick([this] { UpdateCommandStates(); });
    host.SetSettingsDialogRunner([this](SettingsRecord& record) {
        return RunSettingsDialog(frame_.get(), options_.settingsPath, record);
    });
    host.SetCommentDialogRunner([this](std::array<std::string, 3>& lines) {
        return RunCommentDialog(frame_.get(), lines);
    });
    frame_->Create();
    router_.SetFrame(frame_.get());
    connect(frame_.get(), &CMainFrame::commandTriggered, this,
            [this](uint32_t id) { ExecuteCommand(id); });
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
        case CommandLineInfo::Action::FilePrint: {
            const QString path = QFile::decodeName(info.fileName.c_str());
            const Status opened = docfile::Open(doc_, info.fileName);
            if (!opened.ok) {
                std::fprintf(stderr, "%s\n", opened.message.c_str());
                return 1;
            }
            QPrinter& printer = Printer();
            if (!PrintTo(printer)) {
                std::fprintf(stderr, "%s を印刷できませんでした。\n", path.toUtf8().constData());
                return 1;
            }
            return 0;
        }
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
    if (info.action == CommandLineInfo::Action::Demo) {
        RunDemo(info.demoSeconds, QFile::decodeName(info.demoFolder.c_str()));
    }
    return std::nullopt;
}

bool CQuolixApp::ExecuteCommand(uint32_t id) {
    const bool ran = router_.Execute(id);
    UpdateCommandStates();
    return ran;
}

void CQuolixApp::UpdateCommandStates() {
    if (frame_) {
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
            NewDocument();
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
            RunAboutDialog(frame_.get());
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

void CQuolixApp::UpdateTitle() {
    if (!frame_) {
        return;
    }
    const std::string& path = doc_.GetPathName();
    frame_->SetDocumentTitle(path.empty() ? QStringLiteral("無題")
                                          : QFileInfo(QFile::decodeName(path.c_str())).fileName());
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
    UpdateTitle();
    if (frame_) {
        frame_->Host().Invalidate();
    }
    return ok;
}

bool CQuolixApp::OpenDocumentFile(const QString& path) {
    if (!Report(docfile::Open(doc_, ToPath(path)))) {
        return false;
    }
    RememberFile(path);
    if (frame_) {
        frame_->Host().Invalidate();
    }
    return true;
}

bool CQuolixApp::SaveDocument() {
    if (doc_.GetPathName().empty()) {
        OnFileSaveAs();
        return !doc_.GetPathName().empty();
    }
    return Report(docfile::Save(doc_));
}

bool CQuolixApp::SaveDocumentAs(const QString& path) {
    if (!Report(docfile::SaveAs(doc_, ToPath(path)))) {
        return false;
    }
    RememberFile(path);
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

QPrinter& CQuolixApp::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        PreparePrinter(*printer_);
    }
    return *printer_;
}

bool CQuolixApp::PrintTo(QPrinter& printer) {
    PreparePrinter(printer);
    const bool printed = PrintViewPage(view_, printer);
    if (frame_) {
        frame_->Host().Invalidate();
    }
    return printed;
}

void CQuolixApp::OnFilePrint(bool withDialog) {
    QPrinter& printer = Printer();
    if (withDialog) {
        QPrintDialog dialog(&printer, frame_.get());
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
    }
    if (!PrintTo(printer)) {
        ShowMessage(QStringLiteral("印刷できませんでした。プリンタの設定を確認してください。"));
    }
}

void CQuolixApp::OnFilePrintPreview() {
    QPrinter& printer = Printer();
    QPrintPreviewDialog preview(&printer, frame_.get());
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* page) { DrawViewPage(view_, *page); });
    // The picture keeps the printed layout, and the live readout stays away,
    // for as long as the preview is open.
    view_.OnBeginPrinting();
    preview.exec();
    view_.OnEndPrinting();
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
