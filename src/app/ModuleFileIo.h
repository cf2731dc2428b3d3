#pragma once

#include <QString>

namespace rix {

class IRixModule;

// The document's only way into module files: LoadModuleFile and
// SaveModuleFile with the failure told as a sentence. Both either do
// everything or leave things as they were: a broken file leaves the module
// untouched, a failed or interrupted save leaves the old file exactly as it
// was and no temporary file behind. On failure both return false with the
// reason (the caller names the file). UI thread; neither holds the module's
// lock while touching the disk.
class CModuleFileIo {
public:
    static bool Load(const QString& path, IRixModule& module, QString& reason);
    static bool Save(const QString& path, IRixModule& module, QString& reason);
};

} // namespace rix
