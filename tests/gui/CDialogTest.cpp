#include "framework/qt/CDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "DialogTestSupport.h"

namespace quolix {
namespace {

// A dialog laid out like the program's: two edits, a check box, the default
// OK, Cancel, and a button another part adds after the dialog is shown and
// whose auto-default it turns off.
class KeyDialog : public CDialog {
  public:
    KeyDialog() {
        first = new QLineEdit(QStringLiteral("old title"), this);  // owned by the dialog
        second = new QLineEdit(QStringLiteral("second"), this);
        check = new QCheckBox(QStringLiteral("check"), this);
        ok = new QPushButton(QStringLiteral("OK"), this);
        ok->setDefault(true);
        cancel = new QPushButton(QStringLiteral("Cancel"), this);
        cancel->setAutoDefault(false);
        first->setGeometry(10, 10, 100, 20);
        second->setGeometry(10, 40, 100, 20);
        check->setGeometry(10, 70, 100, 20);
        ok->setGeometry(10, 100, 60, 20);
        cancel->setGeometry(80, 100, 60, 20);
        for (QPushButton* button : {ok, cancel}) {
            connect(button, &QPushButton::clicked, this, [this, button] { clicked = button; });
        }
    }
    enum Which { Second, Check, Ok, Cancel, Late };
    QWidget* Get(Which which) const {
        QWidget* const widgets[] = {second, check, ok, cancel, late};
        return widgets[which];
    }
    QPushButton* AddLateButton() {
        late = new QPushButton(QStringLiteral("late"), this);
        late->setGeometry(150, 100, 60, 20);
        late->setAutoDefault(false);
        late->show();
        connect(late, &QPushButton::clicked, this, [this] { clicked = late; });
        return late;
    }

    QLineEdit* first = nullptr;
    QLineEdit* second = nullptr;
    QCheckBox* check = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* late = nullptr;
    QPushButton* clicked = nullptr;
};

TEST(DialogKeys, EnterRunsTheFocusedPushButtonElseTheDefault) {
    struct Case {
        KeyDialog::Which focus;
        KeyDialog::Which runs;
    };
    const Case cases[] = {
        {KeyDialog::Second, KeyDialog::Ok}, {KeyDialog::Check, KeyDialog::Ok},
        {KeyDialog::Ok, KeyDialog::Ok},     {KeyDialog::Cancel, KeyDialog::Cancel},
        {KeyDialog::Late, KeyDialog::Late},
    };
    for (const Case& c : cases) {
        KeyDialog dialog;
        ASSERT_TRUE(testing::ShowActive(dialog));
        dialog.AddLateButton();
        dialog.Get(c.focus)->setFocus(Qt::TabFocusReason);
        for (const Qt::KeyboardModifier keypad : {Qt::NoModifier, Qt::KeypadModifier}) {
            dialog.clicked = nullptr;
            QTest::keyClick(QApplication::focusWidget(),
                            keypad == Qt::KeypadModifier ? Qt::Key_Enter : Qt::Key_Return, keypad);
            EXPECT_EQ(dialog.clicked, dialog.Get(c.runs))
                << "focus " << c.focus << (keypad == Qt::KeypadModifier ? ", keypad" : "");
            // The default frame marks the button Enter runs.
            EXPECT_TRUE(qobject_cast<QPushButton*>(dialog.Get(c.runs))->isDefault() ||
                        c.runs == KeyDialog::Late)
                << "focus " << c.focus;
        }
    }
}

TEST(DialogKeys, OpensOnTheFirstEditWithItsTextSelectedAndTabSelectsToo) {
    KeyDialog dialog;
    ASSERT_TRUE(testing::ShowActive(dialog));
    EXPECT_EQ(QApplication::focusWidget(), dialog.first);
    EXPECT_EQ(dialog.first->selectedText().toStdString(), "old title");
    // Typing replaces the old text rather than adding to it.
    QTest::keyClicks(dialog.first, "new");
    EXPECT_EQ(dialog.first->text().toStdString(), "new");
    QTest::keyClick(dialog.first, Qt::Key_Tab);
    EXPECT_EQ(dialog.second->selectedText().toStdString(), "second");
    QTest::keyClick(dialog.second, Qt::Key_Backtab);
    EXPECT_EQ(dialog.first->selectedText().toStdString(), "new");
}

}  // namespace
}  // namespace quolix
