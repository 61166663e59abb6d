#include "framework/qt/FileListModel.h"

#include <QFileSystemModel>
#include <QLocale>

namespace quolix {

FileListModel::FileListModel(QObject* parent) : QIdentityProxyModel(parent) {}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr || !index.isValid()) {
        return QIdentityProxyModel::data(index, role);
    }
    const QModelIndex source = mapToSource(index);
    switch (index.column()) {
        case Size:
            if (!files->isDir(source)) {
                return QLocale().formattedDataSize(files->size(source));
            }
            break;
        case Type:
            if (files->isDir(source)) {
                return QStringLiteral("ファイル フォルダー");
            }
            break;
        case Modified:
            return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        default:
            break;
    }
    return QIdentityProxyModel::data(index, role);
}

}  // namespace quolix
