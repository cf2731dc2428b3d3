#include "CppExport.h"

#include <exception>

#include <QDir>
#include <QFile>

#include "AtomicFile.h"
#include "RixModule.h"
#include "RixSongExporter.h"
#include "nexilon/Exceptions.h"
#include "nexilon/MemoryStream.h"

namespace rix {

QString CCppExport::DefaultPath()
{
    return QDir(QDir::tempPath()).filePath(QStringLiteral("RixSongData.cpp"));
}

bool CCppExport::Export(IRixModule& module, const QString& path, QString& reason)
{
    nexilon::CPtr<nexilon::IMemoryOutputStream> text = nexilon::CreateMemoryOutputStream();
    try {
        {
            CRixModuleLock lock(module, nexilon::LOCKMODE_READ);
            CRixSongExporter().Export(*lock, *text);
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
