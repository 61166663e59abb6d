#pragma once

#include <array>
#include <string>

#include <QMessageBox>

#include "framework/WindowServices.h"

class QWidget;

namespace quolix {

class SettingsRecord;
struct SettingsLocation;

namespace app {

// The dialogs as the view's window runs them, all modal: timers keep firing
// while one is open, so polling and recording go on behind it.

// The settings dialog loads the settings and saves them on Ok; record is then
// replaced by the dialog's thirty slots, and is left alone on Cancel. record's
// incoming values are not shown: the file is. saveFailure receives why a save
// on Ok failed (UTF-8), or is emptied.
DialogResult RunSettingsDialog(QWidget* parent, const SettingsLocation& settings,
                               SettingsRecord& record, std::string& saveFailure);
// lines seed the comment dialog and receive its lines on Ok.
DialogResult RunCommentDialog(QWidget* parent, std::array<std::string, 3>& lines);
// The About box names the settings file in use.
void RunAboutDialog(QWidget* parent, const SettingsLocation& settings);
// A question in a modal message box with the given buttons, worded はい /
// いいえ / キャンセル whatever Qt's translation; Esc answers キャンセル, or
// いいえ where there is no キャンセル.
QMessageBox::StandardButton RunQuestionBox(QWidget* parent, const QString& text,
                                           const QString& caption,
                                           QMessageBox::StandardButtons buttons);

}  // namespace app
}  // namespace quolix
