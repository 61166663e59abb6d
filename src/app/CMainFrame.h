#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QStringList>

#include "framework/CommandTarget.h"
#include "framework/Rect.h"
#include "settings/SettingsLocation.h"
#include "settings/SettingsRecord.h"

class QAction;

namespace quolix {

class CQuolixView;
class QtViewHost;

namespace app {

class MainFrameUi;

// The one top-level window: hosts the view, carries the menus, toolbar and
// status bar, opens at the rectangle stored in the settings file and stores
// its placement back when the program ends.
class CMainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT
  public:
    // Tells the user something (a settings file that could not be saved).
    using MessageSink = std::function<void(const QString& text)>;

    CMainFrame(CQuolixView& view, SettingsLocation settings);
    ~CMainFrame() override;

    // The frame's creation step: the view's window is created first (its
    // settings, the port, the polling timer), then the bars, then the frame
    // moves to the stored rectangle.
    void Create();
    // Stores the placement of a frame that was shown, then lets the view
    // close the port. Runs once.
    void Shutdown();

    QtViewHost& Host() const { return *host_; }
    MainFrameUi& Ui() const { return *ui_; }
    // False until Create has made the bars.
    bool HasUi() const { return ui_ != nullptr; }

    void SetMessageSink(MessageSink sink) { messages_ = std::move(sink); }
    void SetDocumentTitle(const QString& documentName, bool modified);
    // Asked before the window closes; false keeps it open (the user
    // cancelled the question whether to save).
    void SetCloseQuery(std::function<bool()> query) { closeQuery_ = std::move(query); }
    void SetRecentFiles(const QStringList& files);
    const std::vector<QAction*>& RecentFileActions() const { return recentActions_; }

    // The rectangle to open at: the stored one, or the default one when the
    // stored one lies on no connected screen (a monitor unplugged since).
    static Rect PlacementFor(const SettingsRecord& record, const std::vector<Rect>& screenAreas);

  signals:
    void commandTriggered(uint32_t id);
    void recentFileChosen(int index);
    void filesDropped(const QStringList& paths);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void SavePlacement();

    CQuolixView& view_;
    SettingsLocation settings_;
    MessageSink messages_;
    QtViewHost* host_ = nullptr;
    MainFrameUi* ui_ = nullptr;
    std::vector<QAction*> recentActions_;
    std::function<bool()> closeQuery_;
    bool created_ = false;
    bool shown_ = false;
    bool shutDown_ = false;
};

}  // namespace app
}  // namespace quolix
