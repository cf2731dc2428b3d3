#include "Autosave.h"

#include <algorithm>
#include <csignal>
#include <cerrno>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

#include "IRixModule.h"
#include "ModuleFileIo.h"
#include "RixDoc.h"

namespace rix {

namespace {

constexpr int kDefaultSeconds = 60;

bool IsRunning(int64_t process)
{
    if (process <= 0 || process > INT32_MAX)
        return false;
    return ::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM;
}

} // namespace

CAutosave::CAutosave(CRixDoc& document, IRixModule& module, QObject* parent, int64_t instance)
    : QObject(parent), document(document), module(module), instance(instance < 0 ? ::getpid() : instance)
{
    const int seconds = std::max(1, QSettings().value(QStringLiteral("AutosaveSeconds"), kDefaultSeconds).toInt());
    timer.setInterval(seconds * 1000);
    connect(&timer, &QTimer::timeout, this, &CAutosave::SaveNow);
    timer.start();
}

CAutosave::~CAutosave() = default;

QString CAutosave::Folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString CAutosave::FilePath() const
{
    return Folder() + QStringLiteral("/autosave-%1.sonrix").arg(instance);
}

void CAutosave::SaveNow()
{
    if (!document.IsModified()) {
        Discard();
        return;
    }
    const uint32_t changeCount = module.GetChangeCount();
    if (changeCount == savedChangeCount)
        return;
    QDir().mkpath(Folder());
    QString reason;
    // A failed autosave keeps the previous one; the next tick tries again.
    if (CModuleFileIo::Save(FilePath(), module, reason))
        savedChangeCount = changeCount;
}

void CAutosave::Discard()
{
    if (savedChangeCount == 0 && !QFile::exists(FilePath()))
        return;
    QFile::remove(FilePath());
    savedChangeCount = 0;
}

QStringList CAutosave::FindOrphans()
{
    static const QRegularExpression name(QStringLiteral("^autosave-(\\d+)\\.sonrix$"));
    QStringList orphans;
    const QFileInfoList entries =
        QDir(Folder()).entryInfoList({QStringLiteral("autosave-*.sonrix")}, QDir::Files, QDir::Time);
    for (const QFileInfo& entry : entries) {
        const QRegularExpressionMatch match = name.match(entry.fileName());
        if (match.hasMatch() && !IsRunning(match.captured(1).toLongLong()))
            orphans << entry.absoluteFilePath();
    }
    return orphans;
}

} // namespace rix
