#pragma once

#include <QDialog>

class QKeyEvent;
class QShowEvent;

namespace quolix {

// The base of the program's own dialogs: Qt's dialog with the keyboard rules
// of the dialog manager the dialogs were designed for, whatever buttons a
// dialog holds.
// - Enter runs the push button that has the focus; only when the focus is
//   elsewhere does it run the default button. The default frame follows the
//   focus, so it always marks what Enter will do.
// - The dialog opens with the focus on its first tab stop and, if that is an
//   edit, its whole text selected, so that typing replaces it. (Qt already
//   selects the text of an edit reached with Tab or Backtab.)
class CDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CDialog(QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void FocusFirstTabStop();
};

}  // namespace quolix
