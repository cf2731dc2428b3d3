#pragma once

#include <QString>

namespace rix {

class IRixModule;

// File ▸ Export ▸ C++: the song's tables for the intro replay routine, as
// "RixSongData.cpp" in the temporary folder, written whole or not at all.
// The module is read-locked for the export only (it renders into memory;
// the file is written after).
class CCppExport {
public:
    static QString DefaultPath();
    // False with the reason when the file cannot be written.
    static bool Export(IRixModule& module, const QString& path, QString& reason);
};

} // namespace rix
