#include "RecentFileList.h"

#include <QFileInfo>
#include <QSettings>

#include "CommandIds.h"

namespace rix {

namespace {

const QString kKey = QStringLiteral("RecentFiles");

} // namespace

CRecentFileList::CRecentFileList()
{
    files = QSettings().value(kKey).toStringList();
    files.removeAll(QString());
    while (files.size() > kRecentFileCount)
        files.removeLast();
}

void CRecentFileList::Add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > kRecentFileCount)
        files.removeLast();
    Store();
}

void CRecentFileList::Remove(const QString& path)
{
    if (files.removeAll(path) > 0)
        Store();
}

void CRecentFileList::Store() const
{
    QSettings().setValue(kKey, files);
}

} // namespace rix
