#pragma once

#include <QIdentityProxyModel>

namespace quolix {

// The file list of Qt's own file dialog in the application's default locale.
// Qt formats the sizes and dates of that list in the system's locale and has
// no Japanese for the type of a folder, so under an English or C locale the
// Japanese dialog showed "Folder", "1 bytes" and "7 Dec 2024 10:30:00".
class FileListModel : public QIdentityProxyModel {
    Q_OBJECT
  public:
    enum Column { Name, Size, Type, Modified };

    explicit FileListModel(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role) const override;
};

}  // namespace quolix
