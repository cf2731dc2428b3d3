#include "ModuleFileIo.h"

#include <exception>

#include <QFileInfo>
#include <QSaveFile>

#include "ModuleFiles.h"
#include "RixModule.h"
#include "RixModuleData.h"
#include "nexilon/Exceptions.h"
#include "nexilon/MemoryStream.h"
#include "nexilon/OutputStreamSelector.h"

namespace rix {

namespace {

QString ReasonOf(const std::exception& error)
{
    const auto* framework = dynamic_cast<const nexilon::CException*>(&error);
    return QString::fromStdString(framework ? framework->GetMessage() : std::string(error.what()));
}

} // namespace

bool CModuleFileIo::Load(const QString& path, IRixModule& module, QString& reason)
{
    try {
        LoadModuleFile(QFile::encodeName(path).toStdString(), module);
    } catch (const std::exception& error) {
        reason = ReasonOf(error);
        // The file layer puts the path first; the caller names the file itself.
        const QString prefix = path + QStringLiteral(": ");
        if (reason.startsWith(prefix))
            reason.remove(0, prefix.size());
        return false;
    }
    return true;
}

QByteArray CModuleFileIo::Serialize(IRixModule& module)
{
    nexilon::CPtr<nexilon::IMemoryOutputStream> stream = nexilon::CreateMemoryOutputStream();
    {
        CRixModuleLock lock(module, nexilon::LOCKMODE_READ);
        nexilon::COutputStreamSelector selector(stream.Get());
        lock->Save(selector);
    }
    const std::string& bytes = stream->GetBytes();
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool CModuleFileIo::WriteAll(QIODevice& file, const QByteArray& bytes)
{
    return file.write(bytes) == bytes.size();
}

bool CModuleFileIo::Save(const QString& path, IRixModule& module, QString& reason, const TWriter& writer)
{
    QByteArray bytes;
    try {
        bytes = Serialize(module);
    } catch (const std::exception& error) {
        reason = ReasonOf(error);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
        return false;
    }
    bool written = false;
    try {
        written = writer(file, bytes);
    } catch (const std::exception& error) {
        reason = ReasonOf(error);
        file.cancelWriting();
        return false;
    }
    if (!written) {
        reason = file.errorString().isEmpty() ? QStringLiteral("The file could not be written completely.")
                                              : file.errorString();
        file.cancelWriting();
        return false;
    }
    // commit() flushes to the disk before it renames over the target.
    if (!file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}

} // namespace rix
