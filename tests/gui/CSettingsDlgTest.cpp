#include "settings/dialog/CSettingsDlg.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "app/DialogRunners.h"
#include "framework/qt/Cp932LineEdit.h"
#include "framework/qt/QtDeviceContext.h"
#include "settings/SettingsStore.h"
#include "support/FakeSerialTree.h"

namespace quolix::app {
namespace {

using testing::Cp932;
using testing::U;
using Dlg = CSettingsDlg;
using Slot = SettingsRecord::Slot;

class SettingsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        stored_.ApplyDefaults();
        stored_.Text(Slot::Title1) = Cp932("周波数の記録");
        stored_.Text(Slot::Title2) = Cp932("第２ライン");
        stored_.Int(Slot::FrameWidth) = 3;
        stored_.Int(Slot::CentreWidth) = 4;
        stored_.Int(Slot::GridWidth) = 5;
        stored_.Int(Slot::DataWidth) = 6;
        stored_.Int(Slot::ComPort) = 2;
        stored_.Int(Slot::ColourPrinter) = 1;
        stored_.Int(Slot::Resolution) = 1;
        stored_.Int(Slot::CentreColour) = 0x00123456;
        for (const int spare : {4, 9, 18, 19, 20, 21, 22, 23, 24, 25, 29}) {
            stored_.Int(spare) = 1000 + spare;
        }
        stored_.Text(Slot::SpareText2) = "spare";
        Store(stored_);
    }

    void Store(const SettingsRecord& record) { ASSERT_TRUE(SettingsStore(path_).SaveFrom(record)); }
    SettingsRecord Stored() {
        SettingsRecord record;
        EXPECT_TRUE(SettingsStore(path_).LoadInto(record));
        return record;
    }
    std::string FileBytes() {
        std::ifstream file(path_, std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }
    // A dialog whose messages and colour choices are recorded, never shown.
    std::unique_ptr<Dlg> Open(const std::string& path) {
        auto dialog = std::make_unique<Dlg>(SettingsLocation::Explicit(path));
        dialog->SetMessageShower([this](const QString& text) { messages_.push_back(text); });
        dialog->SetColourChooser([this](int32_t initial) {
            offered_.push_back(initial);
            return chosen_;
        });
        return dialog;
    }
    std::unique_ptr<Dlg> Open() { return Open(path_); }

    static Cp932LineEdit* Edit(const Dlg& dialog, int id) {
        return qobject_cast<Cp932LineEdit*>(dialog.Control(id));
    }
    static QAbstractButton* Button(const Dlg& dialog, int id) {
        return qobject_cast<QAbstractButton*>(dialog.Control(id));
    }
    static void SetText(const Dlg& dialog, int id, const char* utf8) {
        Edit(dialog, id)->SetCp932Text(Cp932(utf8));
    }
    static bool Accepted(const Dlg& dialog) {
        return dialog.result() == QDialog::Accepted && !dialog.isVisible();
    }

    QTemporaryDir dir_;
    std::string path_ = dir_.filePath("quolix.ini").toStdString();
    std::string missingPath_ = dir_.filePath("no-such-folder/quolix.ini").toStdString();
    SettingsRecord stored_;
    std::vector<QString> messages_;
    std::string saveFailure_;
    std::vector<int32_t> offered_;
    std::optional<int32_t> chosen_;
};

TEST_F(SettingsDialogTest, OpensWithTheSettingsFileValues) {
    const auto dialog = Open();
    EXPECT_EQ(dialog->Record(), stored_);
    EXPECT_EQ(Edit(*dialog, Dlg::IdTitle1)->text(), U("周波数の記録"));
    EXPECT_EQ(Edit(*dialog, Dlg::IdTitle2)->text(), U("第２ライン"));
    EXPECT_EQ(Edit(*dialog, Dlg::IdFrameWidth)->text(), U("3"));
    EXPECT_EQ(Edit(*dialog, Dlg::IdCentreWidth)->text(), U("4"));
    EXPECT_EQ(Edit(*dialog, Dlg::IdGridWidth)->text(), U("5"));
    EXPECT_EQ(Edit(*dialog, Dlg::IdDataWidth)->text(), U("6"));
    EXPECT_TRUE(Button(*dialog, Dlg::IdColourPrinter)->isChecked());
    for (int id = Dlg::IdCom1; id <= Dlg::IdCom3; ++id) {
        EXPECT_EQ(Button(*dialog, id)->isChecked(), id == Dlg::IdCom3);
    }
    for (int id = Dlg::IdResolution100Hz; id <= Dlg::IdResolution1Hz; ++id) {
        EXPECT_EQ(Button(*dialog, id)->isChecked(), id == Dlg::IdResolution10Hz);
    }
}

TEST_F(SettingsDialogTest, RunnerShowsTheFileNotTheCallersRecordAndCancelKeepsTheRecord) {
    SettingsRecord callers;
    callers.ApplyDefaults();
    QString shownTitle;
    const testing::WhenModal<Dlg> driver([&](Dlg& dialog) {
        shownTitle = Edit(dialog, Dlg::IdTitle1)->text();
        SetText(dialog, Dlg::IdTitle1, "変更");
        dialog.reject();
    });
    EXPECT_EQ(RunSettingsDialog(nullptr, SettingsLocation::Explicit(path_), callers, saveFailure_),
              DialogResult::Cancel);
    EXPECT_EQ(shownTitle, U("周波数の記録"));
    SettingsRecord defaults;
    defaults.ApplyDefaults();
    EXPECT_EQ(callers, defaults);
}

TEST_F(SettingsDialogTest, WithoutASettingsFileShowsTheDefaultsEveryTime) {
    SettingsRecord defaults;
    defaults.ApplyDefaults();
    for (int opening = 0; opening < 2; ++opening) {
        const auto dialog = Open(missingPath_);
        EXPECT_EQ(dialog->Record(), defaults);
        EXPECT_EQ(Edit(*dialog, Dlg::IdTitle1)->text(), U("Quolix Frequency Counter"));
        EXPECT_EQ(Edit(*dialog, Dlg::IdFrameWidth)->text(), U("2"));
        EXPECT_TRUE(Button(*dialog, Dlg::IdCom1)->isChecked());
        // The change holds for the caller, but nothing could be stored.
        SetText(*dialog, Dlg::IdTitle1, "今回だけ");
        SetText(*dialog, Dlg::IdFrameWidth, "9");
        dialog->show();
        Button(*dialog, Dlg::IdOk)->click();
        EXPECT_TRUE(Accepted(*dialog));
        EXPECT_EQ(dialog->Record().Text(Slot::Title1), Cp932("今回だけ"));
        EXPECT_EQ(dialog->Record().Int(Slot::FrameWidth), 9);
    }
}

struct BadWidth {
    int id;
    const char* text;
    const char* message;
};

class InvalidWidth : public SettingsDialogTest, public ::testing::WithParamInterface<BadWidth> {};

TEST_P(InvalidWidth, KeepsTheDialogOpenSavesNothingAndFocusesTheEdit) {
    const std::string before = FileBytes();
    const auto dialog = Open();
    ASSERT_TRUE(testing::ShowActive(*dialog));
    SetText(*dialog, GetParam().id, GetParam().text);
    Button(*dialog, Dlg::IdOk)->click();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(messages_, std::vector<QString>{U(GetParam().message)});
    EXPECT_EQ(QApplication::focusWidget(), dialog->Control(GetParam().id));
    EXPECT_EQ(Edit(*dialog, GetParam().id)->selectedText(), U(GetParam().text));
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(dialog->Record(), stored_);
}

constexpr const char* NotAnInteger = "整数を入力してください。";
constexpr const char* OutOfRange = "0 から 100 までの整数を入力してください。";

INSTANTIATE_TEST_SUITE_P(Cases, InvalidWidth,
                         ::testing::Values(BadWidth{Dlg::IdFrameWidth, "101", OutOfRange},
                                           BadWidth{Dlg::IdFrameWidth, "-1", OutOfRange},
                                           BadWidth{Dlg::IdFrameWidth, "abc", NotAnInteger},
                                           BadWidth{Dlg::IdCentreWidth, "101", OutOfRange},
                                           BadWidth{Dlg::IdCentreWidth, "-1", OutOfRange},
                                           BadWidth{Dlg::IdCentreWidth, "abc", NotAnInteger},
                                           BadWidth{Dlg::IdGridWidth, "101", OutOfRange},
                                           BadWidth{Dlg::IdGridWidth, "-1", OutOfRange},
                                           BadWidth{Dlg::IdGridWidth, "abc", NotAnInteger},
                                           BadWidth{Dlg::IdDataWidth, "101", OutOfRange},
                                           BadWidth{Dlg::IdDataWidth, "-1", OutOfRange},
                                           BadWidth{Dlg::IdDataWidth, "abc", NotAnInteger},
                                           BadWidth{Dlg::IdDataWidth, "", NotAnInteger},
                                           BadWidth{Dlg::IdDataWidth, "12abc", NotAnInteger},
                                           BadWidth{Dlg::IdDataWidth, "１２", NotAnInteger},
                                           BadWidth{Dlg::IdDataWidth, "99999999999",
                                                    NotAnInteger}));

struct GoodWidth {
    int id;
    const char* text;
    int slot;
    int value;
};

class ValidWidth : public SettingsDialogTest, public ::testing::WithParamInterface<GoodWidth> {};

TEST_P(ValidWidth, IsAcceptedAndSaved) {
    const auto dialog = Open();
    dialog->show();
    SetText(*dialog, GetParam().id, GetParam().text);
    Button(*dialog, Dlg::IdOk)->click();
    EXPECT_TRUE(Accepted(*dialog));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Stored().Int(GetParam().slot), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, ValidWidth,
                         ::testing::Values(GoodWidth{Dlg::IdFrameWidth, "0", Slot::FrameWidth, 0},
                                           GoodWidth{Dlg::IdCentreWidth, "100", Slot::CentreWidth,
                                                     100},
                                           GoodWidth{Dlg::IdGridWidth, " 7 ", Slot::GridWidth, 7},
                                           GoodWidth{Dlg::IdDataWidth, "+5", Slot::DataWidth, 5}));

TEST_F(SettingsDialogTest, ReadingBackStopsAtTheFirstFailingStep) {
    const auto dialog = Open();
    SetText(*dialog, Dlg::IdTitle1, "一行目");  // step 1
    Button(*dialog, Dlg::IdCom1)->click();      // step 2
    SetText(*dialog, Dlg::IdCentreWidth, "7");  // step 3
    SetText(*dialog, Dlg::IdDataWidth, "x");    // step 4 fails
    SetText(*dialog, Dlg::IdGridWidth, "8");    // step 5
    SetText(*dialog, Dlg::IdTitle2, "二行目");  // step 8
    dialog->show();
    Button(*dialog, Dlg::IdOk)->click();
    EXPECT_EQ(dialog->title1, Cp932("一行目"));
    EXPECT_EQ(dialog->portIndex, 0);
    EXPECT_EQ(dialog->centreWidth, 7);
    EXPECT_EQ(dialog->dataWidth, 6);
    EXPECT_EQ(dialog->gridWidth, 5);
    EXPECT_EQ(dialog->title2, Cp932("第２ライン"));
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_EQ(dialog->Record(), stored_);
}

struct TitleCase {
    int id;
    int limit;
};

class TitleLimit : public SettingsDialogTest, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(TitleLimit, TypingStopsAtTheLimitInBytes) {
    const auto dialog = Open();
    Cp932LineEdit* edit = Edit(*dialog, GetParam().id);
    const int limit = GetParam().limit;
    edit->SetCp932Text("");
    QTest::keyClicks(edit, QString(limit + 5, QChar('w')));
    EXPECT_EQ(edit->text(), QString(limit, QChar('w')));

    edit->SetCp932Text("");
    testing::TypeText(edit, QString(limit, QChar(0x5468)));  // 周, two bytes each
    EXPECT_EQ(edit->text(), QString(limit / 2, QChar(0x5468)));

    // One byte short of the limit: another double-byte character does not fit,
    // a single-byte one does.
    edit->SetCp932Text("");
    testing::TypeText(edit, U("a") + QString(limit / 2 - 1, QChar(0x5468)));
    testing::TypeText(edit, U("周b"));
    std::string bytes;
    ASSERT_TRUE(edit->GetCp932Text(bytes));
    EXPECT_EQ(bytes.size(), static_cast<size_t>(limit));
    EXPECT_EQ(bytes.back(), 'b');

    dialog->show();
    Button(*dialog, Dlg::IdOk)->click();
    EXPECT_TRUE(Accepted(*dialog));
    EXPECT_EQ(Stored().Text(GetParam().id == Dlg::IdTitle1 ? Slot::Title1 : Slot::Title2), bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, TitleLimit,
                         ::testing::Values(TitleCase{Dlg::IdTitle1, 128},
                                           TitleCase{Dlg::IdTitle2, 80}));

TEST_F(SettingsDialogTest, AStoredTitleLongerThanItsEditTakesMustBeShortenedFirst) {
    stored_.Text(Slot::Title2) = std::string(81, 'L');
    Store(stored_);
    const std::string before = FileBytes();
    const auto dialog = Open();
    ASSERT_TRUE(testing::ShowActive(*dialog));
    Button(*dialog, Dlg::IdOk)->click();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(messages_, std::vector<QString>{U("80 バイト以内で入力してください。")});
    EXPECT_EQ(QApplication::focusWidget(), dialog->Control(Dlg::IdTitle2));
    EXPECT_EQ(FileBytes(), before);

    // The failed value is selected; End drops the selection, Backspace one byte.
    QTest::keyClick(dialog->Control(Dlg::IdTitle2), Qt::Key_End);
    QTest::keyClick(dialog->Control(Dlg::IdTitle2), Qt::Key_Backspace);
    Button(*dialog, Dlg::IdOk)->click();
    EXPECT_TRUE(Accepted(*dialog));
    EXPECT_EQ(Stored().Text(Slot::Title2), std::string(80, 'L'));
}

TEST_F(SettingsDialogTest, EmptyTitlesAreAcceptedAndTheFileStillLoads) {
    const auto dialog = Open();
    dialog->show();
    Edit(*dialog, Dlg::IdTitle1)->clear();
    Edit(*dialog, Dlg::IdTitle2)->clear();
    Button(*dialog, Dlg::IdOk)->click();
    EXPECT_TRUE(Accepted(*dialog));
    EXPECT_EQ(dialog->Record().Text(Slot::Title1), "");
    SettingsRecord reloaded;
    EXPECT_TRUE(SettingsStore(path_).LoadInto(reloaded));
    EXPECT_EQ(reloaded.Int(Slot::DataWidth), 6);
}

struct IndexCase {
    int slot;
    int stored;
    int firstRadio;
};

class RadioIndex : public SettingsDialogTest, public ::testing::WithParamInterface<IndexCase> {};

TEST_P(RadioIndex, OutsideTheChoicesSelectsNothingAndOkStoresMinusOne) {
    stored_.Int(GetParam().slot) = GetParam().stored;
    Store(stored_);
    const auto dialog = Open();
    for (int id = GetParam().firstRadio; id < GetParam().firstRadio + 3; ++id) {
        EXPECT_FALSE(Button(*dialog, id)->isChecked()) << id;
    }
    dialog->show();
    Button(*dialog, Dlg::IdOk)->click();
    EXPECT_TRUE(Accepted(*dialog));
    EXPECT_EQ(dialog->Record().Int(GetParam().slot), -1);
    EXPECT_EQ(Stored().Int(GetParam().slot), -1);
}

INSTANTIATE_TEST_SUITE_P(Cases, RadioIndex,
                         ::testing::Values(IndexCase{Slot::ComPort, 5, Dlg::IdCom1},
                                           IndexCase{Slot::ComPort, -1, Dlg::IdCom1},
                                           IndexCase{Slot::Resolution, 3, Dlg::IdResolution100Hz},
                                           IndexCase{Slot::Resolution, -7,
                                                     Dlg::IdResolution100Hz}));

TEST_F(SettingsDialogTest, ChosenRadioButtonsAndCheckBoxAreStored) {
    const auto dialog = Open();
    dialog->show();
    Button(*dialog, Dlg::IdCom2)->click();
    Button(*dialog, Dlg::IdResolution1Hz)->click();
    Button(*dialog, Dlg::IdColourPrinter)->click();
    EXPECT_FALSE(Button(*dialog, Dlg::IdCom3)->isChecked());
    Button(*dialog, Dlg::IdOk)->click();
    const SettingsRecord saved = Stored();
    EXPECT_EQ(saved.Int(Slot::ComPort), 1);
    EXPECT_EQ(saved.Int(Slot::Resolution), 2);
    EXPECT_EQ(saved.Int(Slot::ColourPrinter), 0);
}

TEST_F(SettingsDialogTest, OnlyAColourPrinterValueOfOneTicksTheBox) {
    for (const int value : {0, 2, -1}) {
        stored_.Int(Slot::ColourPrinter) = value;
        Store(stored_);
        EXPECT_FALSE(Button(*Open(), Dlg::IdColourPrinter)->isChecked()) << value;
    }
}

TEST_F(SettingsDialogTest, OkWritesTheWholeRecordWithTheSlotsItDoesNotEditAsLoaded) {
    const auto dialog = Open();
    dialog->show();
    SetText(*dialog, Dlg::IdTitle1, "新しい題");
    SetText(*dialog, Dlg::IdGridWidth, "11");
    Button(*dialog, Dlg::IdOk)->click();
    ASSERT_TRUE(Accepted(*dialog));
    SettingsRecord expected = stored_;
    expected.Text(Slot::Title1) = Cp932("新しい題");
    expected.Int(Slot::GridWidth) = 11;
    EXPECT_EQ(dialog->Record(), expected);
    EXPECT_EQ(Stored(), expected);
}

struct ColourCase {
    int button;
    int slot;
};

class ColourButton : public SettingsDialogTest, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(ColourButton, OffersTheSlotsColourAndKeepsTheChoiceUntilOk) {
    stored_.Int(GetParam().slot) = 0x00102030;
    Store(stored_);
    const auto dialog = Open();
    dialog->show();
    chosen_ = std::nullopt;  // the colour dialog cancelled: nothing changes
    Button(*dialog, GetParam().button)->click();
    EXPECT_EQ(dialog->Record(), stored_);
    chosen_ = 0x00ABCDEF;
    Button(*dialog, GetParam().button)->click();
    EXPECT_EQ(offered_, (std::vector<int32_t>{0x00102030, 0x00102030}));
    EXPECT_EQ(dialog->Record().Int(GetParam().slot), 0x00ABCDEF);
    EXPECT_EQ(Stored().Int(GetParam().slot), 0x00102030);  // not yet saved
    Button(*dialog, Dlg::IdOk)->click();
    SettingsRecord expected = stored_;
    expected.Int(GetParam().slot) = 0x00ABCDEF;
    EXPECT_EQ(Stored(), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColourButton,
                         ::testing::Values(ColourCase{Dlg::IdFrameColour, Slot::FrameColour},
                                           ColourCase{Dlg::IdCentreColour, Slot::CentreColour},
                                           ColourCase{Dlg::IdGridColour, Slot::GridColour},
                                           ColourCase{Dlg::IdDataColour, Slot::DataColour}));

TEST(SettingsDialogColour, IsStoredWithRedInTheLowestByte) {
    EXPECT_EQ(Dlg::ColourRef(QColor(0x12, 0x34, 0x56)), 0x00563412);
    EXPECT_EQ(Dlg::ColourRef(QColorFor(0x00ABCDEF)), 0x00ABCDEF);
}

TEST_F(SettingsDialogTest, AColourChosenThenTheDialogCancelledChangesNothing) {
    const std::string before = FileBytes();
    SettingsRecord callers = stored_;
    const testing::WhenModal<Dlg> driver([](Dlg& dialog) {
        dialog.SetColourChooser([](int32_t) { return 0x000000FF; });
        Button(dialog, Dlg::IdDataColour)->click();
        Button(dialog, Dlg::IdCancel)->click();
    });
    EXPECT_EQ(RunSettingsDialog(nullptr, SettingsLocation::Explicit(path_), callers, saveFailure_),
              DialogResult::Cancel);
    EXPECT_EQ(callers, stored_);
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(SettingsDialogTest, RunnerHandsTheSavedRecordToTheCallerOnOk) {
    SettingsRecord callers;
    callers.ApplyDefaults();
    const testing::WhenModal<Dlg> driver([](Dlg& dialog) {
        SetText(dialog, Dlg::IdCentreWidth, "42");
        Button(dialog, Dlg::IdOk)->click();
    });
    EXPECT_EQ(RunSettingsDialog(nullptr, SettingsLocation::Explicit(path_), callers, saveFailure_),
              DialogResult::Ok);
    SettingsRecord expected = stored_;
    expected.Int(Slot::CentreWidth) = 42;
    EXPECT_EQ(callers, expected);
    EXPECT_EQ(Stored(), expected);
}

TEST_F(SettingsDialogTest, TheFrameworkMessageIsAModalWarningBox) {
    Dlg dialog(SettingsLocation::Explicit(path_));
    SetText(dialog, Dlg::IdFrameWidth, "101");
    dialog.show();
    QString shown;
    const testing::WhenModal<QMessageBox> driver([&](QMessageBox& box) {
        shown = box.text();
        box.accept();
    });
    Button(dialog, Dlg::IdOk)->click();
    EXPECT_EQ(shown, U(OutOfRange));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(SettingsDialogTest, EveryEditRefusesCharactersCp932CannotHold) {
    const auto dialog = Open();
    for (const int id : {Dlg::IdTitle1, Dlg::IdTitle2, Dlg::IdFrameWidth, Dlg::IdCentreWidth,
                         Dlg::IdGridWidth, Dlg::IdDataWidth}) {
        Cp932LineEdit* edit = Edit(*dialog, id);
        const QString before = edit->text();
        testing::TypeText(edit, U("😀"));
        EXPECT_EQ(edit->text(), before) << id;
        EXPECT_EQ(edit->LastRefusal(), U("この文字は使用できません。")) << id;
    }
}

TEST_F(SettingsDialogTest, ComButtonsTellTheirDeviceInTheirToolTips) {
    const char* saved = std::getenv("QUOLIX_COM2");
    const std::string previous = saved != nullptr ? saved : "";
    setenv("QUOLIX_COM2", "/tmp/quolix-com2", 1);
    unsetenv("QUOLIX_COM3");
    const auto dialog = Open();
    EXPECT_TRUE(Button(*dialog, Dlg::IdCom2)->toolTip().contains(U("/tmp/quolix-com2")));
    EXPECT_TRUE(Button(*dialog, Dlg::IdCom3)->toolTip().contains(U("なし")));
    if (saved != nullptr) {
        setenv("QUOLIX_COM2", previous.c_str(), 1);
    } else {
        unsetenv("QUOLIX_COM2");
    }
}

TEST_F(SettingsDialogTest, ControlsSitWhereTheTemplatePutsThem) {
    const auto dialog = Open();
    const DialogUnits& units = dialog->Units();
    EXPECT_EQ(units, DialogUnits(dialog->font()));
    EXPECT_EQ(dialog->windowTitle(), U("動作環境の設定"));
    // One line more than the template, for the port's device.
    EXPECT_EQ(dialog->size(), units.Size(303, 278));
    EXPECT_EQ(dialog->Control(Dlg::IdPortDevice)->geometry(), units.Rect(10, 254, 225, 10));
    EXPECT_EQ(dialog->Control(Dlg::IdAssignPort)->geometry().topLeft(), units.Point(239, 252));
    EXPECT_EQ(Button(*dialog, Dlg::IdAssignPort)->text(), U("割り当て..."));
    EXPECT_EQ(dialog->Control(Dlg::IdOk)->geometry(), units.Rect(239, 231, 50, 14));
    EXPECT_EQ(dialog->Control(Dlg::IdCancel)->geometry(), units.Rect(239, 211, 50, 14));
    EXPECT_EQ(dialog->Control(Dlg::IdTitle2)->geometry(), units.Rect(20, 50, 260, 13));
    EXPECT_EQ(dialog->Control(Dlg::IdGridWidth)->geometry(), units.Rect(20, 201, 55, 12));
    EXPECT_EQ(dialog->Control(Dlg::IdDataColour)->geometry(), units.Rect(100, 221, 55, 15));
    // Texts that need more room than the template gives only grow to the right.
    const QRect com2 = dialog->Control(Dlg::IdCom2)->geometry();
    EXPECT_EQ(com2.topLeft(), units.Point(250, 167));
    EXPECT_EQ(com2.height(), units.Y(10));
    EXPECT_GE(com2.width(), units.X(30));
    EXPECT_TRUE(qobject_cast<QPushButton*>(dialog->Control(Dlg::IdOk))->isDefault());
    EXPECT_EQ(Button(*dialog, Dlg::IdCancel)->text(), U("ｷｬﾝｾﾙ"));
    EXPECT_EQ(Button(*dialog, Dlg::IdColourPrinter)->text(), U("カラープリンタを使用"));

    std::map<QString, QRect> boxes;
    for (const QGroupBox* box : dialog->findChildren<QGroupBox*>()) {
        boxes[box->title()] = box->geometry();
    }
    const std::map<QString, QRect> expected = {{U("グラフタイトル"), units.Rect(10, 10, 280, 65)},
                                               {U("外枠"), units.Rect(10, 85, 70, 75)},
                                               {U("中央線"), units.Rect(90, 85, 75, 75)},
                                               {U("罫線"), units.Rect(10, 171, 75, 75)},
                                               {U("データ線"), units.Rect(90, 171, 75, 75)},
                                               {U("ポート設定"), units.Rect(235, 135, 55, 65)},
                                               {U("プリンタ種類"), units.Rect(175, 85, 115, 40)},
                                               {U("最小分解能"), units.Rect(175, 135, 55, 65)}};
    EXPECT_EQ(boxes, expected);
    EXPECT_EQ(dialog->findChildren<QLabel*>().size(), 5);
}

TEST_F(SettingsDialogTest, TabVisitsTheTabStopsInTemplateOrder) {
    const auto dialog = Open();
    ASSERT_TRUE(testing::ShowActive(*dialog));
    dialog->Control(Dlg::IdTitle1)->setFocus();
    std::vector<QWidget*> visited;
    for (int i = 0; i < 14; ++i) {
        visited.push_back(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    std::vector<QWidget*> expected;
    for (const int id :
         {Dlg::IdTitle1, Dlg::IdTitle2, Dlg::IdFrameWidth, Dlg::IdCentreWidth, Dlg::IdGridWidth,
          Dlg::IdDataWidth, Dlg::IdColourPrinter, Dlg::IdAssignPort, Dlg::IdFrameColour,
          Dlg::IdCentreColour, Dlg::IdGridColour, Dlg::IdDataColour, Dlg::IdOk, Dlg::IdCancel}) {
        expected.push_back(dialog->Control(id));
    }
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(QApplication::focusWidget(), dialog->Control(Dlg::IdTitle1));
}

// Reached with Tab, as a keyboard user does, a push button takes Enter itself:
// Cancel saves nothing, a colour button opens the colour chooser.
TEST_F(SettingsDialogTest, EnterRunsThePushButtonTabbedTo) {
    struct Case {
        int button;
        bool closes;
        int slotOffered;  // -1: the colour chooser is not called
    };
    const Case cases[] = {{Dlg::IdCancel, true, -1},
                          {Dlg::IdFrameColour, false, Slot::FrameColour},
                          {Dlg::IdCentreColour, false, Slot::CentreColour},
                          {Dlg::IdGridColour, false, Slot::GridColour},
                          {Dlg::IdDataColour, false, Slot::DataColour}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        offered_.clear();
        chosen_ = 0x00ABCDEF;
        const std::string before = FileBytes();
        const auto dialog = Open();
        ASSERT_TRUE(testing::ShowActive(*dialog));
        SetText(*dialog, Dlg::IdTitle1, "changed");
        for (int presses = 0;
             presses < 20 && QApplication::focusWidget() != dialog->Control(c.button); ++presses) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        ASSERT_EQ(QApplication::focusWidget(), dialog->Control(c.button));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(dialog->isVisible(), !c.closes);
        if (c.closes) {
            EXPECT_EQ(dialog->result(), QDialog::Rejected);
            EXPECT_TRUE(offered_.empty());
        } else {
            EXPECT_EQ(offered_, std::vector<int32_t>{stored_.Int(c.slotOffered)});
            EXPECT_EQ(dialog->Record().Int(c.slotOffered), 0x00ABCDEF);
        }
        EXPECT_EQ(FileBytes(), before);
    }
}

TEST_F(SettingsDialogTest, EnterInAnEditConfirmsThroughOk) {
    const auto dialog = Open();
    ASSERT_TRUE(testing::ShowActive(*dialog));
    SetText(*dialog, Dlg::IdFrameWidth, "12");
    QTest::keyClick(dialog->Control(Dlg::IdFrameWidth), Qt::Key_Return);
    EXPECT_TRUE(Accepted(*dialog));
    EXPECT_EQ(Stored().Int(Slot::FrameWidth), 12);
}

// On a fake device tree: the line under the ports names the selected number's
// device, and assigning another device stores it and shows it at once.
TEST_F(SettingsDialogTest, ThePortLineFollowsTheSelectionAndAnAssignment) {
    testing::FakeSerialTree tree;
    const std::string ftdi = "usb-FTDI_FT232R_USB_UART_A600XYZ-if00-port0";
    tree.AddAdapter("ttyUSB0", ftdi, "FTDI", "FT232R USB UART", "A600XYZ");
    tree.AddAdapter("ttyACM0", "", "Arduino", "Uno", "1");
    const std::string config = tree.Root() + "/config";
    const QByteArray savedRoot = qgetenv("QUOLIX_DEVICE_ROOT");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("QUOLIX_DEVICE_ROOT", QByteArray::fromStdString(tree.Root()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
    for (const char* name : {"QUOLIX_COM1", "QUOLIX_COM2", "QUOLIX_COM3"}) {
        qunsetenv(name);
    }

    const auto dialog = Open();
    const auto line = [&] {
        return qobject_cast<QLabel*>(dialog->Control(Dlg::IdPortDevice))->text();
    };
    EXPECT_EQ(line(), U("COM3: 未接続"));  // slot 15 holds 2
    Button(*dialog, Dlg::IdCom1)->click();
    EXPECT_EQ(line(), U("COM1: Arduino Uno (ttyACM0)"));
    Button(*dialog, Dlg::IdCom2)->click();
    EXPECT_EQ(line(), U("COM2: FTDI FT232R USB UART (ttyUSB0)"));

    std::vector<int> asked;
    dialog->SetDeviceChooser([&](const ComPortMap&, int index) -> std::optional<std::string> {
        asked.push_back(index);
        return asked.size() == 1 ? std::optional<std::string>() : ftdi;
    });
    Button(*dialog, Dlg::IdCom3)->click();
    Button(*dialog, Dlg::IdAssignPort)->click();  // cancelled
    EXPECT_EQ(line(), U("COM3: 未接続"));
    Button(*dialog, Dlg::IdAssignPort)->click();
    EXPECT_EQ(asked, (std::vector<int>{2, 2}));
    EXPECT_EQ(line(), U("COM3: FTDI FT232R USB UART (ttyUSB0)"));
    std::ifstream stored(config + "/quolix/ports", std::ios::binary);
    std::ostringstream bytes;
    bytes << stored.rdbuf();
    EXPECT_EQ(bytes.str(), "COM1=ttyACM0\nCOM3=" + ftdi + "\n");
    Button(*dialog, Dlg::IdCom2)->click();
    EXPECT_EQ(line(), U("COM2: 未接続"));
    EXPECT_TRUE(messages_.empty());

    qputenv("QUOLIX_DEVICE_ROOT", savedRoot);
    qputenv("XDG_CONFIG_HOME", savedConfig);
}

}  // namespace
}  // namespace quolix::app
