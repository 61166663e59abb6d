#include "app/MainFrameUi.h"

#include <algorithm>
#include <array>
#include <string_view>

#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QList>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QString>
#include <QToolBar>

#include "acquisition/StatusTexts.h"
#include "app/CommandTable.h"
#include "app/LockKeys.h"
#include "framework/CommandIds.h"
#include "framework/qt/MenuBarKeyboard.h"

// The resources live in a static library, so nothing would pull their
// registration in; it must run from the global namespace.
static void InitQuolixResources() {
    Q_INIT_RESOURCE(quolix);
}

namespace quolix::app {
namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The menu text of a command, searched through the whole tree; empty when the
// command has no menu entry.
std::string_view MenuText(std::span<const commands::MenuEntry> entries, uint32_t id) {
    for (const commands::MenuEntry& entry : entries) {
        if (entry.kind == commands::MenuEntry::Kind::Command && entry.id == id) {
            return entry.text;
        }
        if (entry.kind == commands::MenuEntry::Kind::Popup) {
            const std::string_view found = MenuText(entry.items, id);
            if (!found.empty()) {
                return found;
            }
        }
    }
    return {};
}

QKeySequence KeySequenceFor(const commands::Accelerator& accelerator) {
    // In the order of commands::Key.
    static constexpr std::array<Qt::Key, 12> Keys = {
        Qt::Key_N, Qt::Key_O, Qt::Key_S,         Qt::Key_P,      Qt::Key_Z,      Qt::Key_X,
        Qt::Key_C, Qt::Key_V, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Insert, Qt::Key_F6};
    const Qt::Key key = Keys[static_cast<size_t>(accelerator.key)];
    Qt::KeyboardModifiers modifiers;
    if ((accelerator.modifiers & commands::Ctrl) != 0) {
        modifiers |= Qt::ControlModifier;
    }
    if ((accelerator.modifiers & commands::Shift) != 0) {
        modifiers |= Qt::ShiftModifier;
    }
    if ((accelerator.modifiers & commands::Alt) != 0) {
        modifiers |= Qt::AltModifier;
    }
    return QKeySequence(QKeyCombination(modifiers, key));
}

bool IsFrameToggle(uint32_t id) {
    return id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR;
}

// Where QStatusBar draws a prompt: this far from its left edge.
constexpr int PromptIndent = 6;
// Room on either side of a link pane's text.
constexpr int LinkPaneMargin = 4;

// The narrowest a pane may be: a state's or a lock key's pane keeps the width
// of its longest text.
int PaneMinimumWidth(const QLabel* pane) {
    return pane->property("paneWidth").toInt();
}

bool IsHeld(const QLabel* pane) {
    return pane->minimumSize() == pane->maximumSize();
}

void ReleasePane(QLabel* pane) {
    if (IsHeld(pane)) {
        pane->setMinimumSize(PaneMinimumWidth(pane), 0);
        pane->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

// Held at the size the layout gave it, a pane takes a new text of the same
// width without the window being laid out again, which costs far more than
// the text; a text of another width, or a new status-bar size, lets it go, so
// that the layout places the panes as it always has.
void SetPaneText(QLabel* pane, const QString& text) {
    if (pane->text() == text) {
        return;
    }
    const QFontMetrics metrics = pane->fontMetrics();
    if (metrics.horizontalAdvance(text) != metrics.horizontalAdvance(pane->text())) {
        ReleasePane(pane);
    } else if (!IsHeld(pane) && pane->isVisible()) {
        pane->setFixedSize(pane->size());
    }
    pane->setText(text);
}

void SetTextIfChanged(QLabel* label, const QString& text) {
    SetPaneText(label, text);
    label->setVisible(!text.isEmpty());
}

}  // namespace

MainFrameUi::MainFrameUi(QMainWindow& window) : QObject(&window), window_(window) {
    static const bool resourcesReady = (InitQuolixResources(), true);
    (void)resourcesReady;

    QIcon icon;
    icon.addFile(QStringLiteral(":/quolix/icons/quolix-16.png"));
    icon.addFile(QStringLiteral(":/quolix/icons/quolix-32.png"));
    window_.setWindowIcon(icon);

    CreateActions();
    BuildMenuBar();
    BuildToolBar();
    BuildStatusBar();
}

void MainFrameUi::CreateActions() {
    for (const commands::CommandText& command : commands::Commands()) {
        const uint32_t id = command.id;
        // Parent ownership: the window deletes its actions.
        auto* action = new QAction(&window_);
        const std::string_view menuText = MenuText(commands::MainMenu(), id);
        action->setText(FromUtf8(menuText.empty() ? command.toolTip : menuText));
        action->setStatusTip(FromUtf8(command.prompt));
        action->setToolTip(FromUtf8(command.toolTip));
        action->setData(static_cast<uint>(id));
        if (!command.image.empty()) {
            action->setIcon(QIcon(QStringLiteral(":/quolix/") + FromUtf8(command.image)));
            action->setIconVisibleInMenu(false);
        }
        QList<QKeySequence> keys;
        for (const commands::Accelerator& accelerator : commands::Accelerators()) {
            if (accelerator.id == id) {
                keys.append(KeySequenceFor(accelerator));
            }
        }
        action->setShortcuts(keys);
        // Window-wide keys, so they never act inside a dialog's own window.
        action->setShortcutContext(Qt::WindowShortcut);
        window_.addAction(action);

        if (commands::IsInert(id) || id == ID_FILE_MRU_FILE1) {
            action->setEnabled(false);
        }
        if (!IsFrameToggle(id)) {
            connect(action, &QAction::triggered, this, [this, id] { emit commandTriggered(id); });
        }
        actions_[id] = action;
    }
}

void MainFrameUi::BuildMenuBar() {
    QMenuBar* bar = window_.menuBar();
    for (const commands::MenuEntry& popup : commands::MainMenu()) {
        QMenu* menu = bar->addMenu(FromUtf8(popup.text));
        connect(menu, &QMenu::aboutToShow, this, &MainFrameUi::menuAboutToShow);
        for (const commands::MenuEntry& entry : popup.items) {
            if (entry.kind == commands::MenuEntry::Kind::Separator) {
                menu->addSeparator();
            } else if (QAction* action = Action(entry.id)) {
                menu->addAction(action);
                menuOf_[entry.id] = menu;
            }
        }
    }
    menubar::EnableKeyboardMode(window_);
}

void MainFrameUi::BuildToolBar() {
    toolBar_ = new QToolBar(FromUtf8("ﾂｰﾙ ﾊﾞｰ"), &window_);
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setIconSize(QSize(16, 15));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    for (const uint32_t id : commands::ToolbarButtons()) {
        if (id == commands::ToolbarSeparator) {
            toolBar_->addSeparator();
        } else if (QAction* action = Action(id)) {
            toolBar_->addAction(action);
        }
    }
    window_.addToolBar(Qt::TopToolBarArea, toolBar_);

    QAction* toggle = Action(ID_VIEW_TOOLBAR);
    toggle->setCheckable(true);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, toolBar_, &QToolBar::setVisible);
    // The window's own context menu can close the toolbar too.
    connect(toolBar_->toggleViewAction(), &QAction::toggled, toggle, &QAction::setChecked);
}

void MainFrameUi::BuildStatusBar() {
    statusBar_ = window_.statusBar();
    for (const commands::StatusPane& pane : commands::StatusPanes()) {
        auto* label = new QLabel(FromUtf8(pane.text), statusBar_);
        if (pane.id == commands::MessagePane) {
            // Prompts are shown over it as temporary messages; the idle text
            // comes back when they clear.
            statusBar_->addWidget(label, 1);
            label->installEventFilter(this);
            for (QLabel*& linkPane : linkPanes_) {
                linkPane = new QLabel(statusBar_);
                linkPane->setContentsMargins(LinkPaneMargin, 0, LinkPaneMargin, 0);
                linkPane->setVisible(false);
                statusBar_->addPermanentWidget(linkPane);
            }
            // The state's pane is as wide as its longest word, so the panes
            // left of it stay put when the state changes.
            QLabel* state = linkPanes_[1];
            state->setAlignment(Qt::AlignCenter);
            state->setProperty("paneWidth",
                               state->fontMetrics().horizontalAdvance(FromUtf8("再接続待ち")) +
                                   2 * LinkPaneMargin);
            state->setMinimumWidth(PaneMinimumWidth(state));
        } else {
            label->setAlignment(Qt::AlignCenter);
            // The pane keeps its width while its key is off and it is blank.
            label->setProperty("paneWidth",
                               label->fontMetrics().horizontalAdvance(label->text()) + 8);
            label->setMinimumWidth(PaneMinimumWidth(label));
            label->setProperty("indicatorText", label->text());
            label->setText(QString());
            statusBar_->addPermanentWidget(label);
        }
        panes_.push_back(label);
    }

    statusBar_->installEventFilter(this);

    QAction* toggle = Action(ID_VIEW_STATUS_BAR);
    toggle->setCheckable(true);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, statusBar_, &QStatusBar::setVisible);
}

bool MainFrameUi::eventFilter(QObject* watched, QEvent* event) {
    // Before the bar lays its panes out at the new size: none stays held.
    if (watched == statusBar_ && event->type() == QEvent::Resize) {
        for (QLabel* pane : panes_) {
            ReleasePane(pane);
        }
        for (QLabel* pane : linkPanes_) {
            ReleasePane(pane);
        }
    }
    if (watched == StatusPane(0) &&
        (event->type() == QEvent::Move || event->type() == QEvent::Show)) {
        AlignIdleText();
    }
    return QObject::eventFilter(watched, event);
}

void MainFrameUi::AlignIdleText() {
    QLabel* idle = StatusPane(0);
    // The pane sits where the status bar's layout put it; the prompts are
    // drawn at a fixed indent instead, so the text would jump on every hover.
    const int indent = std::max(0, PromptIndent - idle->x() - idle->contentsRect().left());
    if (idle->indent() != indent) {
        idle->setIndent(indent);
    }
}

QLabel* MainFrameUi::LinkPane(size_t index) const {
    return index < linkPanes_.size() ? linkPanes_[index] : nullptr;
}

void MainFrameUi::ShowLinkTexts(const StatusTexts& texts) {
    const std::array<const std::string*, LinkPaneCount> values = {
        &texts.port, &texts.link, &texts.elapsed, &texts.interval, &texts.count};
    for (size_t i = 0; i < LinkPaneCount; ++i) {
        SetTextIfChanged(linkPanes_[i], FromUtf8(*values[i]));
    }
}

void MainFrameUi::ShowLockKeys(const std::optional<LockKeys>& keys) {
    const std::array<bool, 4> on = {keys && keys->kana, keys && keys->caps, keys && keys->num,
                                    keys && keys->scroll};
    for (size_t i = 0; i < on.size(); ++i) {
        QLabel* pane = StatusPane(i + 1);
        SetPaneText(pane, on[i] ? pane->property("indicatorText").toString() : QString());
    }
}

QAction* MainFrameUi::Action(uint32_t id) const {
    const auto it = actions_.find(id);
    return it != actions_.end() ? it->second : nullptr;
}

QMenu* MainFrameUi::MenuOf(uint32_t id) const {
    const auto it = menuOf_.find(id);
    return it != menuOf_.end() ? it->second : nullptr;
}

QLabel* MainFrameUi::StatusPane(size_t index) const {
    return index < panes_.size() ? panes_[index] : nullptr;
}

void MainFrameUi::UpdateEnabled(const std::function<bool(uint32_t)>& isEnabled) {
    for (const auto& [id, action] : actions_) {
        if (id == ID_FILE_MRU_FILE1) {
            continue;
        }
        if (IsFrameToggle(id)) {
            action->setEnabled(true);
        } else if (commands::IsInert(id)) {
            action->setEnabled(false);
        } else {
            action->setEnabled(isEnabled(id));
        }
    }
}

}  // namespace quolix::app
