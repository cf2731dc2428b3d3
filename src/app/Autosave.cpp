#include "Autosave.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
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

QString LockPath(const QString& autosave)
{
    return autosave.chopped(static_cast<int>(qstrlen(".sonrix"))) + QStringLiteral(".lock");
}

// The handle of the lock, held; -1 when another run holds it or the file
// cannot be made.
int TakeLock(const QString& path)
{
    const int handle = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (handle < 0)
        return -1;
    if (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
        ::close(handle);
        return -1;
    }
    return handle;
}

// A run holds the lock; without a lock file the run that wrote the
// autosave is gone.
bool IsHeld(const QString& path)
{
    const int handle = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (handle < 0)
        return false;
    const bool held = ::flock(handle, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(handle);
    return held;
}

void ReleaseLock(int& handle)
{
    if (handle >= 0)
        ::close(handle);
    handle = -1;
}

} // namespace

CAutosave::CAutosave(CRixDoc& document, IRixModule& module, QObject* parent, int64_t instance)
    : QObject(parent), document(document), module(module), instance(instance)
{
    QDir().mkpath(Folder());
    if (instance >= 0) {
        lock = TakeLock(LockPath(FilePath()));
    } else {
        // The process id, unless a crashed run of the same id left its
        // autosave: then a number beyond every process id.
        for (int attempt = 0; attempt < 16 && lock < 0; ++attempt) {
            this->instance = ::getpid() + (int64_t{attempt} << 32);
            if (!QFile::exists(FilePath()))
                lock = TakeLock(LockPath(FilePath()));
        }
    }
    const int seconds = std::max(1, QSettings().value(QStringLiteral("AutosaveSeconds"), kDefaultSeconds).toInt());
    timer.setInterval(seconds * 1000);
    connect(&timer, &QTimer::timeout, this, &CAutosave::SaveNow);
    timer.start();
}

CAutosave::~CAutosave()
{
    if (lock >= 0)
        QFile::remove(LockPath(FilePath()));
    ReleaseLock(lock);
    ReleaseLock(adoptedLock);
}

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
    if (CModuleFileIo::Save(FilePath(), module, reason)) {
        savedChangeCount = changeCount;
        DropAdopted();
    }
}

void CAutosave::Discard()
{
    DropAdopted();
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
    for (const QFileInfo& entry : entries)
        if (name.match(entry.fileName()).hasMatch() && !IsHeld(LockPath(entry.absoluteFilePath())))
            orphans << entry.absoluteFilePath();
    return orphans;
}

void CAutosave::Adopt(const QString& orphan)
{
    DropAdopted();
    // Another run that recovered the same song keeps it.
    adoptedLock = TakeLock(LockPath(orphan));
    if (adoptedLock >= 0)
        adopted = orphan;
}

void CAutosave::RemoveOrphan(const QString& orphan)
{
    QFile::remove(orphan);
    QFile::remove(LockPath(orphan));
}

void CAutosave::DropAdopted()
{
    // Removed while held, so that no other run takes it meanwhile.
    if (!adopted.isEmpty())
        RemoveOrphan(adopted);
    adopted.clear();
    ReleaseLock(adoptedLock);
}

} // namespace rix
