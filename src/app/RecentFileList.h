#pragma once

#include <QStringList>

namespace rix {

// The most recently opened or saved songs, newest first, at most
// kRecentFileCount, kept in the settings ("RecentFiles") at every change so
// that the list survives a crash too. UI thread.
class CRecentFileList {
public:
    CRecentFileList();

    const QStringList& Files() const { return files; }
    void Add(const QString& path);
    void Remove(const QString& path);

private:
    void Store() const;

    QStringList files;
};

} // namespace rix
