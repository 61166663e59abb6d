#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include <QObject>

class QAction;
class QEvent;
class QLabel;
class QMainWindow;
class QMenu;
class QStatusBar;
class QToolBar;

namespace quolix {

struct StatusTexts;

namespace app {

struct LockKeys;

// The main frame's menu bar, toolbar and status bar, built on a QMainWindow
// from the command table: one QAction per command, shared by menu, toolbar and
// accelerator keys; F10 takes the keyboard to the menu bar, as Alt does.
// Commands reach the rest of the application through commandTriggered; the
// frame itself handles only the toolbar and status-bar toggles. Create it with new: the window owns
// it, as it owns the actions.
class MainFrameUi : public QObject {
    Q_OBJECT

  public:
    explicit MainFrameUi(QMainWindow& window);

    // The action of a command, or null for an id the table does not name.
    QAction* Action(uint32_t id) const;

    // Sets the enabled state of every command from the callback, the way the
    // framework's update handlers would. Exceptions: the recent-file entries
    // (left to the recent-file list), the two toggles the frame handles itself
    // (always enabled), and the commands nothing handles (always disabled, so
    // their keys pass on to whichever widget has the focus).
    void UpdateEnabled(const std::function<bool(uint32_t)>& isEnabled);

    QToolBar* ToolBar() const { return toolBar_; }
    QStatusBar* StatusBar() const { return statusBar_; }
    // The top-level popup holding the given command, or null.
    QMenu* MenuOf(uint32_t id) const;
    // Pane 0 is the message pane, then "ｶﾅ", "CAP", "NUM", "SCRL".
    QLabel* StatusPane(size_t index) const;
    size_t StatusPaneCount() const { return panes_.size(); }

    // The link's panes between the message pane and the lock keys: port and
    // device, link state, recording time, interval, sample count. A pane
    // whose text is empty is hidden.
    static constexpr size_t LinkPaneCount = 5;
    QLabel* LinkPane(size_t index) const;
    // Only texts that changed are set, so an unchanged second costs nothing.
    void ShowLinkTexts(const StatusTexts& texts);
    // A lock key's pane shows its text while the key is on and is blank
    // while it is off or its state is unknown (nullopt: no such platform).
    void ShowLockKeys(const std::optional<LockKeys>& keys);

  signals:
    void commandTriggered(uint32_t id);
    // A popup is about to open: its entries' states are wanted now.
    void menuAboutToShow();

  private:
    void CreateActions();
    void BuildMenuBar();
    void BuildToolBar();
    void BuildStatusBar();
    // The idle text starts where the status bar writes the prompts.
    void AlignIdleText();
    bool eventFilter(QObject* watched, QEvent* event) override;

    QMainWindow& window_;
    QToolBar* toolBar_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    std::map<uint32_t, QAction*> actions_;
    std::map<uint32_t, QMenu*> menuOf_;
    std::vector<QLabel*> panes_;
    std::array<QLabel*, LinkPaneCount> linkPanes_{};
};

}  // namespace app
}  // namespace quolix
