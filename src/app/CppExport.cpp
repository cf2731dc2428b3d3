#include "CppExport.h"

#include <cerrno>
#include <cstring>
#include <exception>

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>

#include "AtomicFile.h"
#include "RixModule.h"
#include "RixSongExporter.h"
#include "nexilon/Exceptions.h"
#include "nexilon/MemoryStream.h"

namespace rix {

QString CCppExport::UserFolder()
{
    return QDir(QDir::tempPath()).filePath(QStringLiteral("sonrix3-%1").arg(::geteuid()));
}

QString CCppExport::DefaultPath(const QString& songPath)
{
    const QString name = songPath.isEmpty() ? QStringLiteral("RixSongData") : QFileInfo(songPath).completeBaseName();
    return QDir(UserFolder()).filePath(name + QStringLiteral(".cpp"));
}

bool CCppExport::PrepareUserFolder(QString& reason)
{
    const QString folder = UserFolder();
    const QByteArray local = QFile::encodeName(folder);
    if (::mkdir(local.constData(), 0700) != 0 && errno != EEXIST) {
        reason = QDir::toNativeSeparators(folder) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // lstat: a link is judged as itself, not as what it points to.
    struct stat status {};
    if (::lstat(local.constData(), &status) != 0) {
        reason = QDir::toNativeSeparators(folder) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::geteuid() || (status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        reason = QObject::tr("%1 is not a folder of yours that only you can write to. Remove it, or choose a place "
                             "with File > Export > C++ As.")
                     .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    return true;
}

bool CCppExport::Export(IRixModule& module, const QString& path, QString& reason, bool exact)
{
    nexilon::CPtr<nexilon::IMemoryOutputStream> text = nexilon::CreateMemoryOutputStream();
    try {
        {
            CRixModuleLock lock(module, nexilon::LOCKMODE_READ);
            CRixSongExporter().Export(*lock, *text, exact);
        }
        CAtomicFile::WriteWhole(QFile::encodeName(path).toStdString(), text->GetBytes());
    } catch (const nexilon::CException& error) {
        reason = QString::fromStdString(error.GetMessage());
        return false;
    } catch (const std::exception& error) {
        reason = QString::fromLocal8Bit(error.what());
        return false;
    }
    return true;
}

} // namespace rix
