#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include <QString>

#include "framework/qt/CDialog.h"
#include "framework/qt/DialogUnits.h"
#include "link/ComPortMap.h"
#include "link/SysfsPortRegistry.h"
#include "settings/SettingsLocation.h"
#include "settings/SettingsRecord.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QColor;
class QLabel;

namespace quolix {

class Cp932LineEdit;

// "動作環境の設定": titles, line widths and colours, colour printer, resolution
// and COM port. It loads the settings file itself when it is made, and on OK
// validates, saves the whole record to that file and ends with Accepted; the
// caller then takes Record(). Cancel drops everything, chosen colours included.
class CSettingsDlg : public CDialog {
    Q_OBJECT
  public:
    // Control identifiers of the dialog template.
    enum ControlId : int {
        IdOk = 1,
        IdCancel = 2,
        IdTitle1 = 1000,
        IdFrameWidth = 1001,
        IdFrameColour = 1002,
        IdCentreWidth = 1003,
        IdCentreColour = 1004,
        IdGridWidth = 1005,
        IdGridColour = 1006,
        IdDataWidth = 1007,
        IdDataColour = 1008,
        IdColourPrinter = 1009,
        IdCom1 = 1010,
        IdCom2 = 1011,
        IdCom3 = 1012,
        IdTitle2 = 1013,
        IdResolution100Hz = 1014,
        IdResolution10Hz = 1015,
        IdResolution1Hz = 1016,
        // Beyond the template: the selected number's device and its button.
        IdPortDevice = 1017,
        IdAssignPort = 1018,
    };
    static constexpr int Title1Limit = 128;  // bytes of CP932
    static constexpr int Title2Limit = 80;
    static constexpr int MinWidth = 0;
    static constexpr int MaxWidth = 100;

    // The initial colour (0x00BBGGRR) in, the chosen colour out; nullopt when
    // the choice was cancelled. The default opens QColorDialog.
    using ColourChooser = std::function<std::optional<int32_t>(int32_t initial)>;
    // Shows a validation message; the default is a modal warning box.
    using MessageShower = std::function<void(const QString& text)>;
    // The stable name of the device a port index is to mean, empty for none;
    // nullopt when the choice was cancelled. The default opens
    // PortAssignDialog.
    using DeviceChooser = std::function<std::optional<std::string>(const ComPortMap&, int index)>;

    // A colour as the settings store it: 0x00BBGGRR.
    static int32_t ColourRef(const QColor& colour);

    // settings: where the settings are loaded now and saved on OK.
    explicit CSettingsDlg(SettingsLocation settings, QWidget* parent = nullptr);

    void SetColourChooser(ColourChooser chooser) { chooseColour_ = std::move(chooser); }
    void SetMessageShower(MessageShower shower) { showMessage_ = std::move(shower); }
    void SetDeviceChooser(DeviceChooser chooser) { chooseDevice_ = std::move(chooser); }

    // OK: validates, copies, saves, then accepts; stays open when a value fails.
    void accept() override;

    const SettingsRecord& Record() const { return record; }
    // After OK: why the settings could not be saved (the file and the
    // reason, UTF-8); empty when they were. The dialog still ends with
    // Accepted, so the changes hold until the program ends, and the caller
    // tells the user.
    const std::string& SaveFailure() const { return saveFailure_; }
    // The control with a template identifier, or null.
    QWidget* Control(int id) const;
    const DialogUnits& Units() const { return units_; }

    // The values exchanged with the controls, then copied into the record on OK.
    std::string title1;
    int portIndex = -1;
    int centreWidth = 0;
    int dataWidth = 0;
    int gridWidth = 0;
    int frameWidth = 0;
    int colourPrinter = 0;
    std::string title2;
    int resolutionIndex = -1;
    // The working copy of all thirty slots; the colour buttons write slots 0 to 3.
    SettingsRecord record;

  private:
    void BuildControls();
    void OnCreate();
    void FillControls();
    // Reads the controls back in the template's exchange order and stops at the
    // first value that fails: its message is shown and the focus put on it.
    bool ReadControls();
    bool ReadTitle(Cp932LineEdit& edit, int limit, std::string& member);
    bool ReadWidth(Cp932LineEdit& edit, int& member);
    bool Fail(QWidget& control, const QString& message);
    void OnColourButton(int slot);
    void ShowPortDevice();
    void OnAssignPort();

    SettingsLocation settings_;
    std::string saveFailure_;
    DialogUnits units_;
    ColourChooser chooseColour_;
    MessageShower showMessage_;
    DeviceChooser chooseDevice_;
    // The devices behind the COM numbers, read when the dialog opens.
    SysfsPortRegistry registry_;
    ComPortMap ports_;
    std::map<int, QWidget*> controls_;
    Cp932LineEdit* title1Edit_ = nullptr;
    Cp932LineEdit* title2Edit_ = nullptr;
    Cp932LineEdit* frameWidthEdit_ = nullptr;
    Cp932LineEdit* centreWidthEdit_ = nullptr;
    Cp932LineEdit* gridWidthEdit_ = nullptr;
    Cp932LineEdit* dataWidthEdit_ = nullptr;
    QCheckBox* colourPrinterCheck_ = nullptr;
    QButtonGroup* portGroup_ = nullptr;
    QButtonGroup* resolutionGroup_ = nullptr;
    QLabel* portDevice_ = nullptr;
};

}  // namespace quolix
