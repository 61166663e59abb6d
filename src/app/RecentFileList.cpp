#include "app/RecentFileList.h"

#include <QFileInfo>
#include <QSettings>

namespace quolix::app {

namespace {

const char* const Group = "Recent File List";

}  // namespace

RecentFileList::RecentFileList() {
    QSettings settings("Local AppWizard-Generated Applications", "Quolix");
    settings.beginGroup(Group);
    for (int i = 1; i <= MaxEntries; ++i) {
        const QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty() && !files_.contains(path)) {
            files_.append(path);
        }
    }
}

void RecentFileList::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files_.removeAll(absolute);
    files_.prepend(absolute);
    while (files_.size() > MaxEntries) {
        files_.removeLast();
    }
    Store();
}

void RecentFileList::Remove(const QString& path) {
    files_.removeAll(QFileInfo(path).absoluteFilePath());
    Store();
}

void RecentFileList::Store() const {
    QSettings settings("Local AppWizard-Generated Applications", "Quolix");
    settings.beginGroup(Group);
    for (int i = 1; i <= MaxEntries; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= files_.size()) {
            settings.setValue(key, files_.at(i - 1));
        } else {
            settings.remove(key);
        }
    }
}

}  // namespace quolix::app
