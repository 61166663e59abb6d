#include "app/CCommentDlg.h"

#include <vector>

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "AnsweringCounterLink.h"
#include "DialogTestSupport.h"
#include "acquisition/CQuolixDoc.h"
#include "acquisition/CQuolixView.h"
#include "app/DialogRunners.h"
#include "framework/qt/Cp932LineEdit.h"
#include "framework/qt/QtViewHost.h"

namespace quolix::app {
namespace {

using testing::Cp932;
using testing::U;
using Dlg = CCommentDlg;

Cp932LineEdit* Edit(const Dlg& dialog, int line) {
    return qobject_cast<Cp932LineEdit*>(dialog.Control(Dlg::IdComment1 + line));
}

QAbstractButton* Button(const Dlg& dialog, int id) {
    return qobject_cast<QAbstractButton*>(dialog.Control(id));
}

const Dlg::Lines Seeded = {Cp932("計測場所：第３実験室"), "", "ch 2"};

TEST(CommentDialog, ShowsTheSeededLines) {
    Dlg dialog;
    dialog.Seed(Seeded);
    EXPECT_EQ(Edit(dialog, 0)->text(), U("計測場所：第３実験室"));
    EXPECT_EQ(Edit(dialog, 1)->text(), QString());
    EXPECT_EQ(Edit(dialog, 2)->text(), U("ch 2"));
    EXPECT_EQ(dialog.Result(), Seeded);
}

TEST(CommentDialog, OkHandsOutTheEditedLines) {
    Dlg dialog;
    dialog.Seed(Seeded);
    dialog.show();
    Edit(dialog, 1)->SetCp932Text(Cp932("二行目"));
    Edit(dialog, 2)->clear();
    Button(dialog, Dlg::IdOk)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Result(), (Dlg::Lines{Seeded[0], Cp932("二行目"), ""}));
}

TEST(CommentDialog, CancelLeavesTheSeededLines) {
    Dlg dialog;
    dialog.Seed(Seeded);
    dialog.show();
    Edit(dialog, 0)->SetCp932Text("changed");
    Button(dialog, Dlg::IdCancel)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.Result(), Seeded);
}

TEST(CommentDialog, OpensOnTheFirstLineSelectedAndEnterOnCancelKeepsTheLines) {
    Dlg dialog;
    dialog.Seed(Seeded);
    ASSERT_TRUE(testing::ShowActive(dialog));
    EXPECT_EQ(QApplication::focusWidget(), Edit(dialog, 0));
    EXPECT_EQ(Edit(dialog, 0)->selectedText(), U("計測場所：第３実験室"));
    testing::TypeText(Edit(dialog, 0), U("屋上"));
    for (int presses = 0;
         presses < 10 && QApplication::focusWidget() != dialog.Control(Dlg::IdCancel); ++presses) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    ASSERT_EQ(QApplication::focusWidget(), dialog.Control(Dlg::IdCancel));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.Result(), Seeded);
}

TEST(CommentDialog, RunnerCopiesTheLinesBackOnlyOnOk) {
    for (const bool confirm : {true, false}) {
        Dlg::Lines lines = Seeded;
        const testing::WhenModal<Dlg> driver([confirm](Dlg& dialog) {
            Edit(dialog, 2)->SetCp932Text("edited");
            Button(dialog, confirm ? Dlg::IdOk : Dlg::IdCancel)->click();
        });
        const DialogResult result = RunCommentDialog(nullptr, lines);
        EXPECT_EQ(result, confirm ? DialogResult::Ok : DialogResult::Cancel);
        EXPECT_EQ(lines[2], confirm ? "edited" : Seeded[2]);
        EXPECT_EQ(lines[0], Seeded[0]);
    }
}

TEST(CommentDialog, EachEditTakesAtMostEightyBytes) {
    Dlg dialog;
    for (int line = 0; line < 3; ++line) {
        QTest::keyClicks(Edit(dialog, line), QString(90, QChar('c')));
        EXPECT_EQ(Edit(dialog, line)->text(), QString(80, QChar('c')));
        Edit(dialog, line)->clear();
        testing::TypeText(Edit(dialog, line), QString(45, QChar(0x6CE8)));  // 注
        EXPECT_EQ(Edit(dialog, line)->text(), QString(40, QChar(0x6CE8)));
    }
}

TEST(CommentDialog, EveryEditRefusesCharactersCp932CannotHold) {
    Dlg dialog;
    dialog.Seed(Seeded);
    for (int line = 0; line < 3; ++line) {
        testing::TypeText(Edit(dialog, line), U("🎉"));
        EXPECT_EQ(Edit(dialog, line)->LastRefusal(), U("この文字は使用できません。"));
    }
    dialog.show();
    Button(dialog, Dlg::IdOk)->click();
    EXPECT_EQ(dialog.Result(), Seeded);
}

TEST(CommentDialog, LinesLeftAloneComeBackByteForByte) {
    // Longer than the edits take, and with a byte that is no CP932 character.
    const Dlg::Lines odd = {std::string(100, 'x'), "bad\x81", Cp932("普通")};
    Dlg dialog;
    dialog.Seed(odd);
    dialog.show();
    Button(dialog, Dlg::IdOk)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Result(), odd);
}

TEST(CommentDialog, AnEditedLineThatStillHoldsAnUndecodableByteIsNotTaken) {
    Dlg dialog;
    std::vector<QString> messages;
    dialog.SetMessageShower([&](const QString& text) { messages.push_back(text); });
    dialog.Seed({"a", "bad\x81", "c"});
    ASSERT_TRUE(testing::ShowActive(dialog));
    QTest::keyClicks(Edit(dialog, 1), "!");
    Button(dialog, Dlg::IdOk)->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(messages, std::vector<QString>{U("この文字は使用できません。")});
    EXPECT_EQ(QApplication::focusWidget(), Edit(dialog, 1));
    EXPECT_EQ(dialog.Result()[1], "bad\x81");
}

TEST(CommentDialog, ControlsSitWhereTheTemplatePutsThem) {
    Dlg dialog;
    const DialogUnits& units = dialog.Units();
    EXPECT_EQ(units, DialogUnits(dialog.font()));
    EXPECT_EQ(dialog.windowTitle(), U("注釈の入力"));
    EXPECT_EQ(dialog.size(), units.Size(223, 105));
    EXPECT_EQ(dialog.Control(Dlg::IdOk)->geometry(), units.Rect(160, 80, 50, 14));
    EXPECT_EQ(dialog.Control(Dlg::IdCancel)->geometry(), units.Rect(105, 80, 50, 14));
    EXPECT_EQ(Edit(dialog, 2)->geometry(), units.Rect(40, 55, 170, 12));
    EXPECT_TRUE(qobject_cast<QPushButton*>(dialog.Control(Dlg::IdOk))->isDefault());
    EXPECT_EQ(Button(dialog, Dlg::IdCancel)->text(), U("ｷｬﾝｾﾙ"));
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        labels << label->text();
        EXPECT_EQ(label->x(), units.X(7));
    }
    EXPECT_EQ(labels, U("注釈１： 注釈２： 注釈３：").split(' '));
}

// Timer ticks go on in the nested event loop of the modal dialog: a recording
// keeps taking samples while the user types comments.
TEST(CommentDialog, RecordingGoesOnWhileItIsOpen) {
    QTemporaryDir dir;
    testing::AnsweringCounterLink link(1234567);
    CQuolixDoc doc;
    CQuolixView view(link);
    view.SetSettingsLocation(SettingsLocation::Explicit(dir.filePath("none.ini").toStdString()));
    view.AttachDocument(&doc);
    QtViewHost host(view);
    host.resize(320, 240);
    host.SetCommentDialogRunner(
        [&host](std::array<std::string, 3>& lines) { return RunCommentDialog(&host, lines); });
    ASSERT_EQ(view.OnCreate(), 0);
    ASSERT_EQ(view.portOpen, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.offline == 0; }));
    view.OnDataStart();
    ASSERT_EQ(view.recording, 1);

    const int32_t countAtOpen = doc.count;
    int32_t countWhileOpen = -1;
    QObject context;
    QTimer::singleShot(1600, &context, [&] {
        countWhileOpen = doc.count;
        if (auto* dialog = qobject_cast<Dlg*>(QApplication::activeModalWidget())) {
            Edit(*dialog, 0)->SetCp932Text(Cp932("録音中の注釈"));
            dialog->accept();
        }
    });
    const testing::WhenModal<Dlg> guard([](Dlg&) {});  // only its ten-second guard
    view.OnEditComment();

    EXPECT_GT(countWhileOpen, countAtOpen);
    EXPECT_EQ(view.comments[0], Cp932("録音中の注釈"));
    EXPECT_EQ(doc.comments[0], Cp932("録音中の注釈"));
    view.OnDestroy();
}

}  // namespace
}  // namespace quolix::app
