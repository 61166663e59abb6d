#include "settings/dialog/CSettingsDlg.h"

#include <limits>
#include <string_view>
#include <utility>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "base/IntegerText.h"
#include "framework/qt/Cp932LineEdit.h"
#include "framework/qt/QtDeviceContext.h"
#include "link/PortNames.h"
#include "settings/SettingsStore.h"
#include "settings/dialog/PortAssignDialog.h"

namespace quolix {
namespace {

using Slot = SettingsRecord::Slot;

// A whole decimal integer: optional blanks, an optional sign, digits,
// optional blanks, and nothing else; false when it is not one or does not fit
// an int.
bool ParseWidth(const std::string& text, int& value) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) {
        return false;
    }
    const size_t end = text.find_last_not_of(" \t");
    long long parsed = 0;
    if (!ParseInteger(std::string_view(text).substr(begin, end - begin + 1),
                      std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), parsed)) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

// Selects the radio button with this id, or none for any other index. An
// exclusive group refuses to uncheck its checked button, hence the toggle.
void SelectRadio(QButtonGroup& group, int index) {
    group.setExclusive(false);
    for (QAbstractButton* button : group.buttons()) {
        button->setChecked(group.id(button) == index);
    }
    group.setExclusive(true);
}

void ShowWarning(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

int32_t CSettingsDlg::ColourRef(const QColor& colour) {
    return static_cast<int32_t>(static_cast<uint32_t>(colour.red()) |
                                (static_cast<uint32_t>(colour.green()) << 8) |
                                (static_cast<uint32_t>(colour.blue()) << 16));
}

CSettingsDlg::CSettingsDlg(SettingsLocation settings, QWidget* parent)
    : CDialog(parent),
      settings_(std::move(settings)),
      units_(DialogUnits::DialogFont(ScreenDpiY())),
      ports_(registry_, PortBindings::DefaultPath()) {
    chooseColour_ = [this](int32_t initial) -> std::optional<int32_t> {
        const QColor chosen = QColorDialog::getColor(QColorFor(static_cast<Colour>(initial)), this);
        if (!chosen.isValid()) {
            return std::nullopt;
        }
        return ColourRef(chosen);
    };
    showMessage_ = [this](const QString& text) { ShowWarning(this, text); };
    chooseDevice_ = [this](const ComPortMap& map, int index) {
        return PortAssignDialog::Ask(map, index, this);
    };
    // Seeing a device for the first time gives it a number even when the
    // number cannot be stored; the dialog shows it all the same.
    ports_.Refresh();

    BuildControls();
    OnCreate();
    FillControls();
}

void CSettingsDlg::BuildControls() {
    setWindowTitle(QStringLiteral("動作環境の設定"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DialogUnits::DialogFont(ScreenDpiY()));
    // One line below the template's controls for the port's device.
    setFixedSize(units_.Size(303, 278));

    const auto place = [this](int id, QWidget* control, QRect rect) {
        control->setGeometry(rect);
        if (id != 0) {
            controls_[id] = control;
        }
    };
    const auto edit = [&](int id, int limit, QRect rect) {
        auto* control = new Cp932LineEdit(limit, this);  // owned by the dialog
        place(id, control, rect);
        return control;
    };

    // Template order, which is also the tab order.
    title1Edit_ = edit(IdTitle1, Title1Limit, units_.Rect(20, 26, 260, 13));
    title2Edit_ = edit(IdTitle2, Title2Limit, units_.Rect(20, 50, 260, 13));
    frameWidthEdit_ = edit(IdFrameWidth, Cp932LineEdit::NoLimit, units_.Rect(20, 115, 50, 12));
    centreWidthEdit_ = edit(IdCentreWidth, Cp932LineEdit::NoLimit, units_.Rect(100, 115, 55, 12));
    gridWidthEdit_ = edit(IdGridWidth, Cp932LineEdit::NoLimit, units_.Rect(20, 201, 55, 12));
    dataWidthEdit_ = edit(IdDataWidth, Cp932LineEdit::NoLimit, units_.Rect(100, 201, 55, 12));

    colourPrinterCheck_ = new QCheckBox(QStringLiteral("カラープリンタを使用"), this);
    place(IdColourPrinter, colourPrinterCheck_,
          DialogUnits::WidenedToFit(units_.Rect(185, 105, 75, 11), *colourPrinterCheck_));

    struct Radio {
        int id;
        const char* text;
        QRect rect;
    };
    const auto radioGroup = [&](std::initializer_list<Radio> radios) {
        auto* group = new QButtonGroup(this);
        group->setExclusive(true);
        int index = 0;
        for (const Radio& radio : radios) {
            auto* button = new QRadioButton(QString::fromUtf8(radio.text), this);
            // Not a tab stop: reached with the mouse, or the arrow keys once in the group.
            button->setFocusPolicy(Qt::ClickFocus);
            group->addButton(button, index++);
            place(radio.id, button, DialogUnits::WidenedToFit(radio.rect, *button));
        }
        return group;
    };
    resolutionGroup_ = radioGroup({{IdResolution100Hz, "100Hz", units_.Rect(190, 150, 30, 10)},
                                   {IdResolution10Hz, "10Hz", units_.Rect(190, 165, 30, 11)},
                                   {IdResolution1Hz, "1Hz", units_.Rect(190, 180, 30, 10)}});
    portGroup_ = radioGroup({{IdCom1, "COM1", units_.Rect(250, 151, 30, 10)},
                             {IdCom2, "COM2", units_.Rect(250, 167, 30, 10)},
                             {IdCom3, "COM3", units_.Rect(250, 181, 30, 10)}});
    portDevice_ = new QLabel(this);
    place(IdPortDevice, portDevice_, units_.Rect(10, 254, 225, 10));
    auto* assign = new QPushButton(QStringLiteral("割り当て..."), this);
    place(IdAssignPort, assign, DialogUnits::WidenedToFit(units_.Rect(239, 252, 50, 14), *assign));
    connect(assign, &QPushButton::clicked, this, &CSettingsDlg::OnAssignPort);
    connect(portGroup_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) {
            ShowPortDevice();
        }
    });

    struct ColourButton {
        int id;
        int slot;
        QRect rect;
    };
    const ColourButton colourButtons[] = {
        {IdFrameColour, Slot::FrameColour, units_.Rect(20, 135, 50, 15)},
        {IdCentreColour, Slot::CentreColour, units_.Rect(100, 135, 55, 15)},
        {IdGridColour, Slot::GridColour, units_.Rect(20, 221, 55, 15)},
        {IdDataColour, Slot::DataColour, units_.Rect(100, 221, 55, 15)}};
    for (const ColourButton& colour : colourButtons) {
        auto* button = new QPushButton(QStringLiteral("色設定"), this);
        place(colour.id, button, colour.rect);
        const int slot = colour.slot;
        connect(button, &QPushButton::clicked, this, [this, slot] { OnColourButton(slot); });
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    place(IdOk, ok, units_.Rect(239, 231, 50, 14));
    connect(ok, &QPushButton::clicked, this, &CSettingsDlg::accept);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    place(IdCancel, cancel, units_.Rect(239, 211, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &CSettingsDlg::reject);

    // Frames go beneath the controls they surround, so that clicks reach those.
    const auto groupBox = [&](const char* text, QRect rect) {
        auto* box = new QGroupBox(QString::fromUtf8(text), this);
        box->setAlignment(Qt::AlignHCenter);
        place(0, box, rect);
        box->lower();
    };
    const auto label = [&](const char* text, QRect rect) {
        auto* caption = new QLabel(QString::fromUtf8(text), this);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        place(0, caption, DialogUnits::WidenedToFit(rect, *caption));
    };
    groupBox("グラフタイトル", units_.Rect(10, 10, 280, 65));
    groupBox("外枠", units_.Rect(10, 85, 70, 75));
    label("線の太さ", units_.Rect(20, 101, 45, 10));
    groupBox("中央線", units_.Rect(90, 85, 75, 75));
    label("線の太さ", units_.Rect(100, 101, 50, 10));
    groupBox("罫線", units_.Rect(10, 171, 75, 75));
    label("線の太さ", units_.Rect(20, 185, 50, 10));
    groupBox("データ線", units_.Rect(90, 171, 75, 75));
    label("線の太さ", units_.Rect(101, 185, 50, 10));
    groupBox("ポート設定", units_.Rect(235, 135, 55, 65));
    groupBox("プリンタ種類", units_.Rect(175, 85, 115, 40));
    groupBox("最小分解能", units_.Rect(175, 135, 55, 65));

    const int tabOrder[] = {IdTitle1,
                            IdTitle2,
                            IdFrameWidth,
                            IdCentreWidth,
                            IdGridWidth,
                            IdDataWidth,
                            IdColourPrinter,
                            IdResolution100Hz,
                            IdResolution10Hz,
                            IdResolution1Hz,
                            IdCom1,
                            IdCom2,
                            IdCom3,
                            IdAssignPort,
                            IdFrameColour,
                            IdCentreColour,
                            IdGridColour,
                            IdDataColour,
                            IdOk,
                            IdCancel};
    for (size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(controls_.at(tabOrder[i - 1]), controls_.at(tabOrder[i]));
    }
}

void CSettingsDlg::ShowPortDevice() {
    // Which device each choice opens on this machine.
    for (QAbstractButton* button : portGroup_->buttons()) {
        const ComPort port = ports_.Port(portGroup_->id(button));
        button->setToolTip(QStringLiteral("接続先デバイス: %1")
                               .arg(port.device.empty() ? QStringLiteral("なし")
                                                        : QString::fromStdString(port.device)));
    }
    const int index = portGroup_->checkedId();
    if (index < 0) {
        portDevice_->clear();
        return;
    }
    const ComPort port = ports_.Port(index);
    portDevice_->setText(QString::fromStdString(port.name + ": " + port.text));
    portDevice_->setToolTip(QString::fromStdString(port.stableName));
}

void CSettingsDlg::OnAssignPort() {
    // Without a selection the first number is the one meant, as the port
    // names read any other index.
    const int index = PortSlot(portGroup_->checkedId());
    const std::optional<std::string> chosen = chooseDevice_(ports_, index);
    if (!chosen) {
        return;
    }
    // The binding is the user's, not the settings file's: it is stored now,
    // whichever way the dialog ends.
    if (const Status bound = ports_.Bind(index, *chosen); !bound.ok) {
        showMessage_(QString::fromStdString(bound.message));
    }
    ShowPortDevice();
}

QWidget* CSettingsDlg::Control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

void CSettingsDlg::OnCreate() {
    // The file, not any caller's record: the dialog shows what is stored.
    SettingsStore(settings_).LoadInto(record);
    portIndex = record.Int(Slot::ComPort);
    colourPrinter = record.Int(Slot::ColourPrinter);
    resolutionIndex = record.Int(Slot::Resolution);
    frameWidth = record.Int(Slot::FrameWidth);
    centreWidth = record.Int(Slot::CentreWidth);
    gridWidth = record.Int(Slot::GridWidth);
    dataWidth = record.Int(Slot::DataWidth);
    title1 = record.Text(Slot::Title1);
    title2 = record.Text(Slot::Title2);
}

void CSettingsDlg::FillControls() {
    title1Edit_->SetCp932Text(title1);
    SelectRadio(*portGroup_, portIndex);
    ShowPortDevice();
    centreWidthEdit_->SetCp932Text(std::to_string(centreWidth));
    dataWidthEdit_->SetCp932Text(std::to_string(dataWidth));
    gridWidthEdit_->SetCp932Text(std::to_string(gridWidth));
    frameWidthEdit_->SetCp932Text(std::to_string(frameWidth));
    // Only 1 prints in colour, so only 1 shows the box ticked.
    colourPrinterCheck_->setChecked(colourPrinter == 1);
    title2Edit_->SetCp932Text(title2);
    SelectRadio(*resolutionGroup_, resolutionIndex);
}

bool CSettingsDlg::ReadControls() {
    if (!ReadTitle(*title1Edit_, Title1Limit, title1)) {
        return false;
    }
    portIndex = portGroup_->checkedId();  // -1 when none is selected
    if (!ReadWidth(*centreWidthEdit_, centreWidth) || !ReadWidth(*dataWidthEdit_, dataWidth) ||
        !ReadWidth(*gridWidthEdit_, gridWidth) || !ReadWidth(*frameWidthEdit_, frameWidth)) {
        return false;
    }
    colourPrinter = colourPrinterCheck_->isChecked() ? 1 : 0;
    if (!ReadTitle(*title2Edit_, Title2Limit, title2)) {
        return false;
    }
    resolutionIndex = resolutionGroup_->checkedId();
    return true;
}

bool CSettingsDlg::ReadTitle(Cp932LineEdit& edit, int limit, std::string& member) {
    std::string text;
    if (!edit.GetCp932Text(text)) {
        return Fail(edit, Cp932LineEdit::NotCp932Text());
    }
    // The edit refuses typing past the limit, but a title read from the file
    // may be longer than the edit takes.
    if (static_cast<int>(text.size()) > limit) {
        return Fail(edit, QStringLiteral("%1 バイト以内で入力してください。").arg(limit));
    }
    member = std::move(text);
    return true;
}

bool CSettingsDlg::ReadWidth(Cp932LineEdit& edit, int& member) {
    std::string text;
    int value = 0;
    if (!edit.GetCp932Text(text) || !ParseWidth(text, value)) {
        return Fail(edit, QStringLiteral("整数を入力してください。"));
    }
    if (value < MinWidth || value > MaxWidth) {
        return Fail(edit, QStringLiteral("%1 から %2 までの整数を入力してください。")
                              .arg(MinWidth)
                              .arg(MaxWidth));
    }
    member = value;
    return true;
}

bool CSettingsDlg::Fail(QWidget& control, const QString& message) {
    showMessage_(message);
    control.setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
        edit->selectAll();
    }
    return false;
}

void CSettingsDlg::OnColourButton(int slot) {
    if (const std::optional<int32_t> chosen = chooseColour_(record.Int(slot))) {
        // Straight into the working record; saved only if the dialog ends with OK.
        record.Int(slot) = *chosen;
    }
}

void CSettingsDlg::accept() {
    if (!ReadControls()) {
        return;
    }
    record.Int(Slot::ComPort) = portIndex;
    record.Int(Slot::ColourPrinter) = colourPrinter;
    record.Int(Slot::Resolution) = resolutionIndex;
    record.Int(Slot::FrameWidth) = frameWidth;
    record.Int(Slot::CentreWidth) = centreWidth;
    record.Int(Slot::GridWidth) = gridWidth;
    record.Int(Slot::DataWidth) = dataWidth;
    record.Text(Slot::Title1) = title1;
    record.Text(Slot::Title2) = title2;
    // A file that cannot be written leaves the changes in force until the
    // program ends; the caller still takes the record, and says so.
    SettingsStore store(settings_);
    saveFailure_ = store.SaveFrom(record) ? std::string() : store.SaveFailureMessage();
    CDialog::accept();
}

}  // namespace quolix
