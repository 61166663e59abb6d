#include "framework/qt/FileDialogs.h"

#include <QFileDialog>
#include <QStringList>

#include "framework/qt/FileListModel.h"

namespace quolix::filedialog {
namespace {

QString Run(QWidget* parent, const QString& caption, const QString& path, const QString& filter,
            QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, caption, path, filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setProxyModel(new FileListModel(&dialog));  // the dialog owns it
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

}  // namespace

QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter) {
    return Run(parent, caption, folder, filter, QFileDialog::AcceptOpen);
}

QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& path,
                        const QString& filter) {
    return Run(parent, caption, path, filter, QFileDialog::AcceptSave);
}

}  // namespace quolix::filedialog
