#include "app/DialogRunners.h"

#include <QAbstractButton>

#include "app/CAboutDlg.h"
#include "app/CCommentDlg.h"
#include "settings/dialog/CSettingsDlg.h"

namespace quolix::app {

DialogResult RunSettingsDialog(QWidget* parent, const SettingsLocation& settings,
                               SettingsRecord& record, std::string& saveFailure) {
    saveFailure.clear();
    CSettingsDlg dialog(settings, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return DialogResult::Cancel;
    }
    record = dialog.Record();
    saveFailure = dialog.SaveFailure();
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

void RunAboutDialog(QWidget* parent, const SettingsLocation& settings) {
    CAboutDlg dialog(parent);
    dialog.SetSettingsFile(settings.file);
    dialog.exec();
}

QMessageBox::StandardButton RunQuestionBox(QWidget* parent, const QString& text,
                                           const QString& caption,
                                           QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::Warning, caption, text, buttons, parent);
    const struct {
        QMessageBox::StandardButton button;
        const char* text;
    } words[] = {{QMessageBox::Yes, "はい"},
                 {QMessageBox::No, "いいえ"},
                 {QMessageBox::Cancel, "キャンセル"}};
    for (const auto& word : words) {
        if (QAbstractButton* button = box.button(word.button)) {
            button->setText(QString::fromUtf8(word.text));
        }
    }
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                                                              : QMessageBox::No);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace quolix::app
