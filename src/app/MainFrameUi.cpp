#include "app/MainFrameUi.h"

#include <array>
#include <string_view>

#include <QAction>
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

#include "app/CommandTable.h"
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
        } else {
            label->setAlignment(Qt::AlignCenter);
            label->setMinimumWidth(label->fontMetrics().horizontalAdvance(label->text()) + 8);
            // Qt cannot read the lock keys' state on every platform, so the
            // indicators are shown greyed, as panes whose key is off.
            label->setEnabled(false);
            statusBar_->addPermanentWidget(label);
        }
        panes_.push_back(label);
    }

    QAction* toggle = Action(ID_VIEW_STATUS_BAR);
    toggle->setCheckable(true);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, statusBar_, &QStatusBar::setVisible);
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
