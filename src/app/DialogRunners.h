#pragma once

#include <array>
#include <string>

#include <QMessageBox>

#include "framework/WindowServices.h"

class QWidget;

namespace quolix {

class SettingsRecord;

namespace app {

// The dialogs as the view's window runs them, all modal: timers keep firing
// while one is open, so polling and recording go on behind it.

// The settings dialog loads settingsPath (empty: the executable's file) and
// saves it on Ok; record is then replaced by the dialog's thirty slots, and is
// left alone on Cancel. record's incoming values are not shown: the file is.
DialogResult RunSettingsDialog(QWidget* parent, const std::string& settingsPath,
                               SettingsRecord& record);
// lines seed the comment dialog and receive its lines on Ok.
DialogResult RunCommentDialog(QWidget* parent, std::array<std::string, 3>& lines);
void RunAboutDialog(QWidget* parent);
// A question in a modal message box with the given buttons, worded はい /
// いいえ / キャンセル whatever Qt's translation; Esc answers キャンセル, or
// いいえ where there is no キャンセル.
QMessageBox::StandardButton RunQuestionBox(QWidget* parent, const QString& text,
                                           const QString& caption,
                                           QMessageBox::StandardButtons buttons);

}  // namespace app
}  // namespace quolix
