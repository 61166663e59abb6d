#include "framework/qt/CDialog.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace quolix {

CDialog::CDialog(QWidget* parent) : QDialog(parent) {}

void CDialog::showEvent(QShowEvent* event) {
    // Set here rather than by each dialog, so that a button added later, or
    // one a dialog has turned off, still takes Enter when it has the focus.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        if (button->window() == this) {
            button->setAutoDefault(true);
        }
    }
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FocusFirstTabStop();
    }
}

void CDialog::FocusFirstTabStop() {
    QWidget* first = focusWidget();
    for (QWidget* next = nextInFocusChain(); first == nullptr && next != this;
         next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && next->isEnabled() &&
            next->isVisibleTo(this) && next->window() == this) {
            first = next;
        }
    }
    if (first == nullptr) {
        return;
    }
    first->setFocus(Qt::TabFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(first)) {
        edit->selectAll();
    }
}

void CDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::NoModifier) {
        // A focused push button normally takes Enter itself; this covers one
        // whose auto-default was turned off after the dialog was shown.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button != nullptr && button->isEnabled() && button->isVisible()) {
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

}  // namespace quolix
