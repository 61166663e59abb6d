#include "app/CMainFrame.h"

#include <algorithm>

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QShowEvent>

#include "acquisition/CQuolixView.h"
#include "app/MainFrameUi.h"
#include "framework/CommandIds.h"
#include "framework/qt/QtViewHost.h"
#include "settings/SettingsStore.h"

namespace quolix::app {

CMainFrame::CMainFrame(CQuolixView& view, SettingsLocation settings)
    : view_(view), settings_(std::move(settings)) {
    host_ = new QtViewHost(view_, this);  // owned by this window
    setCentralWidget(host_);
    setAcceptDrops(true);
    setWindowIcon(QIcon(QStringLiteral(":/quolix/icons/quolix-32.png")));
}

CMainFrame::~CMainFrame() {
    Shutdown();
}

void CMainFrame::Create() {
    if (created_) {
        return;
    }
    created_ = true;
    view_.OnCreate();

    ui_ = new MainFrameUi(*this);  // owned by this window
    connect(ui_, &MainFrameUi::commandTriggered, this, &CMainFrame::commandTriggered);

    SettingsRecord placement;
    SettingsStore(settings_).LoadInto(placement);
    std::vector<Rect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        screens.push_back(
            Rect{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()});
    }
    const Rect rect = PlacementFor(placement, screens);
    setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
}

Rect CMainFrame::PlacementFor(const SettingsRecord& record, const std::vector<Rect>& screenAreas) {
    const Rect stored{record.Int(SettingsRecord::WindowLeft), record.Int(SettingsRecord::WindowTop),
                      record.Int(SettingsRecord::WindowRight),
                      record.Int(SettingsRecord::WindowBottom)};
    SettingsRecord defaults;
    defaults.ApplyDefaults();
    const Rect fallback{
        defaults.Int(SettingsRecord::WindowLeft), defaults.Int(SettingsRecord::WindowTop),
        defaults.Int(SettingsRecord::WindowRight), defaults.Int(SettingsRecord::WindowBottom)};
    if (stored.Width() <= 0 || stored.Height() <= 0) {
        return fallback;
    }
    // The title bar must be reachable: ask for a useful overlap of at least
    // 40 x 40 pixels with some screen's available area.
    constexpr int32_t MinOverlap = 40;
    for (const Rect& area : screenAreas) {
        const int64_t overlapWidth = static_cast<int64_t>(std::min(stored.right, area.right)) -
                                     std::max(stored.left, area.left);
        const int64_t overlapHeight = static_cast<int64_t>(std::min(stored.bottom, area.bottom)) -
                                      std::max(stored.top, area.top);
        if (overlapWidth >= MinOverlap && overlapHeight >= MinOverlap) {
            return stored;
        }
    }
    return fallback;
}

void CMainFrame::SavePlacement() {
    SettingsStore store(settings_);
    SettingsRecord placement;
    // Read the file afresh so that what the settings dialog saved survives.
    store.LoadInto(placement);
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    placement.Int(SettingsRecord::WindowLeft) = normal.left();
    placement.Int(SettingsRecord::WindowTop) = normal.top();
    placement.Int(SettingsRecord::WindowRight) = normal.left() + normal.width();
    placement.Int(SettingsRecord::WindowBottom) = normal.top() + normal.height();
    placement.Int(SettingsRecord::ShowState) =
        isMaximized()
            ? SettingsRecord::ShowMaximized
            : (isMinimized() ? SettingsRecord::ShowMinimized : SettingsRecord::ShowNormal);
    if (!store.SaveFrom(placement) && messages_) {
        messages_(QString::fromStdString(store.SaveFailureMessage()));
    }
}

void CMainFrame::Shutdown() {
    if (!created_ || shutDown_) {
        return;
    }
    shutDown_ = true;
    // The frame stores its placement before the view closes the port, as the
    // frame's window goes before its child view's. A frame never shown (a
    // print from the command line, a file that could not be opened) has no
    // placement of the user's to keep.
    if (shown_) {
        SavePlacement();
    }
    view_.OnDestroy();
}

void CMainFrame::SetDocumentTitle(const QString& documentName, bool modified) {
    // Qt's convention: a '*' right after the document's name.
    setWindowTitle(documentName + (modified ? QStringLiteral("*") : QString()) +
                   QStringLiteral(" - Quolix"));
}

void CMainFrame::SetRecentFiles(const QStringList& files) {
    QAction* placeholder = ui_->Action(ID_FILE_MRU_FILE1);
    QMenu* menu = ui_->MenuOf(ID_FILE_MRU_FILE1);
    for (QAction* action : recentActions_) {
        action->deleteLater();
    }
    recentActions_.clear();
    if (placeholder == nullptr || menu == nullptr) {
        return;
    }
    placeholder->setVisible(files.isEmpty());
    for (int i = 0; i < files.size(); ++i) {
        auto* action = new QAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files.at(i))), this);
        action->setStatusTip(QStringLiteral("このファイルを開きます"));
        connect(action, &QAction::triggered, this, [this, i] { emit recentFileChosen(i); });
        menu->insertAction(placeholder, action);
        recentActions_.push_back(action);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (closeQuery_ && !closeQuery_()) {
        event->ignore();
        return;
    }
    Shutdown();
    event->accept();
}

void CMainFrame::showEvent(QShowEvent* event) {
    shown_ = true;
    QMainWindow::showEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths.append(url.toLocalFile());
        }
    }
    if (!paths.isEmpty()) {
        event->acceptProposedAction();
        emit filesDropped(paths);
    }
}

}  // namespace quolix::app
