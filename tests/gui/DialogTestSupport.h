#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "base/Cp932.h"

namespace quolix::testing {

inline QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

inline std::string Cp932(const char* utf8) {
    return Utf8ToCp932(utf8).value();
}

// Types text as a keyboard does: one key press per character, a surrogate pair
// in one press. QTest::keyClicks can type only Latin-1.
inline void TypeText(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, length),
                            Qt::NoModifier);
        i += length - 1;
    }
}

// Commits text as an input method does after conversion.
inline void CommitText(QWidget* widget, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

inline bool ShowActive(QWidget& widget) {
    widget.show();
    widget.activateWindow();
    return QTest::qWaitForWindowActive(&widget);
}

// Runs action on the modal dialog of type T once one is up, from inside the
// nested event loop of exec(). As a guard against a dialog that never ends the
// test, whatever modal dialog is still open after ten seconds is rejected. The
// timers belong to this object, so nothing fires once it has gone.
template <typename T>
class WhenModal {
  public:
    explicit WhenModal(std::function<void(T&)> action) {
        QTimer::singleShot(0, &context_, [action] {
            if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; })) {
                return;
            }
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                action(*dialog);
            }
        });
        QTimer::singleShot(10000, &context_, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->reject();
            }
        });
    }

  private:
    QObject context_;
};

}  // namespace quolix::testing
