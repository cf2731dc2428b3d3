#include "ModuleFileIo.h"

#include <exception>
#include <string>

#include <QFile>

#include "ModuleFiles.h"
#include "nexilon/Exceptions.h"

namespace rix {

namespace {

// Runs operation on the file's local name; false with the reason when it throws.
template <class TOperation>
bool Run(const QString& path, QString& reason, TOperation operation)
{
    try {
        operation(QFile::encodeName(path).toStdString());
        return true;
    } catch (const std::exception& error) {
        const auto* framework = dynamic_cast<const nexilon::CException*>(&error);
        reason = QString::fromStdString(framework ? framework->GetMessage() : std::string(error.what()));
    }
    return false;
}

} // namespace

bool CModuleFileIo::Load(const QString& path, IRixModule& module, QString& reason)
{
    return Run(path, reason, [&module](const std::string& file) { LoadModuleFile(file, module); });
}

bool CModuleFileIo::Save(const QString& path, IRixModule& module, QString& reason)
{
    return Run(path, reason, [&module](const std::string& file) { SaveModuleFile(file, module); });
}

} // namespace rix
