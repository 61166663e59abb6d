#pragma once

#include <QString>

class QWidget;

namespace quolix::filedialog {

// QFileDialog::getOpenFileName and getSaveFileName, with Qt's own dialog
// listing sizes, dates and folders in the application's default locale
// (FileListModel). A platform's native dialog is used where there is one, as
// before; it speaks the desktop's language itself.
QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter);
QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& path,
                        const QString& filter);

}  // namespace quolix::filedialog
