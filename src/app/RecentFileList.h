#pragma once

#include <QString>
#include <QStringList>

namespace quolix::app {

// The most recently opened or saved files, newest first, kept where the
// desktop's settings keep them so that they survive restarts.
class RecentFileList {
  public:
    static constexpr int MaxEntries = 4;

    // Reads the list from QSettings("Local AppWizard-Generated Applications",
    // "Quolix"), group "Recent File List", keys File1 ... File4.
    RecentFileList();

    const QStringList& Files() const { return files_; }
    // Puts a file at the top (moving it there if listed) and stores the list.
    void Add(const QString& path);
    void Remove(const QString& path);

  private:
    void Store() const;

    QStringList files_;
};

}  // namespace quolix::app
