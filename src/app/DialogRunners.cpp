#include "app/DialogRunners.h"

#include "app/CAboutDlg.h"
#include "app/CCommentDlg.h"
#include "settings/dialog/CSettingsDlg.h"

namespace quolix::app {

DialogResult RunSettingsDialog(QWidget* parent, const std::string& settingsPath,
                               SettingsRecord& record) {
    CSettingsDlg dialog(settingsPath, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return DialogResult::Cancel;
    }
    record = dialog.Record();
    return DialogResult::Ok;
}

DialogResult RunCommentDialog(QWidget* parent, std::array<std::string, 3>& lines) {
    CCommentDlg dialog(parent);
    dialog.Seed(lines);
    if (dialog.exec() != QDialog::Accepted) {
        return DialogResult::Cancel;
    }
    lines = dialog.Result();
    return DialogResult::Ok;
}

void RunAboutDialog(QWidget* parent) {
    CAboutDlg dialog(parent);
    dialog.exec();
}

}  // namespace quolix::app
