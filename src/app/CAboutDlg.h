#pragma once

#include <string>

#include "framework/qt/CDialog.h"
#include "framework/qt/DialogUnits.h"

class QLabel;
class QPushButton;

namespace quolix::app {

// "Quolixのﾊﾞｰｼﾞｮﾝ情報": the application icon, name and version, and OK.
class CAboutDlg : public CDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // A third line names the settings file in use, which a user who looks
    // for it (or a fault report) needs; the box grows to show it whole.
    void SetSettingsFile(const std::string& path);

    const DialogUnits& Units() const { return units_; }
    QLabel* Icon() const { return icon_; }
    QLabel* VersionLine() const { return version_; }
    QLabel* SecondLine() const { return second_; }
    QLabel* SettingsLine() const { return settings_; }
    QPushButton* OkButton() const { return ok_; }

  private:
    DialogUnits units_;
    QLabel* icon_ = nullptr;
    QLabel* version_ = nullptr;
    QLabel* second_ = nullptr;
    QLabel* settings_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace quolix::app
