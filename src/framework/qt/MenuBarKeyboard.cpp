#include "framework/qt/MenuBarKeyboard.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>
#include <QProxyStyle>
#include <QShortcut>
#include <QStyleOptionMenuItem>

namespace quolix::menubar {
namespace {

// The application's style, except that the menu chosen in keyboard mode is
// drawn like a dropped-down one. Keyboard mode is told from hovering by the
// focus, which only keyboard mode gives the menu bar.
class KeyboardModeStyle : public QProxyStyle {
  public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_MenuBarItem && widget != nullptr && widget->hasFocus() &&
            (option->state & State_Selected)) {
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                QStyleOptionMenuItem chosen = *item;
                chosen.state |= State_Sunken;
                QProxyStyle::drawControl(element, &chosen, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

}  // namespace

void ToggleKeyboardMode(QMenuBar& bar) {
    // Qt offers keyboard mode only to the Alt key: the menu bar watches its
    // window for Alt pressed and released alone. Replaying that tap, in the
    // order the window system delivers it, reaches the very same mode, with
    // the style's say in whether there is one.
    QWidget* window = bar.window();
    QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(window, &override);
    QKeyEvent pressed(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(window, &pressed);
    QKeyEvent released(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &released);
}

void EnableKeyboardMode(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    // Without a base style the proxy follows the application's; the menu bar
    // owns it as a child, since setStyle does not take ownership.
    auto* style = new KeyboardModeStyle;
    style->setParent(bar);
    bar->setStyle(style);

    auto* key = new QShortcut(QKeySequence(Qt::Key_F10), &window);  // owned by the window
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, bar, [bar] { ToggleKeyboardMode(*bar); });
}

}  // namespace quolix::menubar
