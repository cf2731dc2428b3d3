#pragma once

#include <QString>

namespace rix {

class IRixModule;

// File ▸ Export ▸ C++: the song's tables for the intro replay routine. The
// quick export writes "<song name>.cpp" into the user's own folder of the
// temporary folder ("sonrix3-<user id>", readable and writable by that user
// only), so that songs keep apart and two users of one machine never meet
// in one file; C++ As chooses any place. Files are written whole or not at
// all. The module is read-locked for the export only (it renders into
// memory; the file is written after). UI thread.
class CCppExport {
public:
    // The user's folder in the temporary folder (it may not exist yet).
    static QString UserFolder();
    // The quick export's file of a song: its file's name with ".cpp", or
    // "RixSongData.cpp" for a song that was never saved.
    static QString DefaultPath(const QString& songPath);
    // Makes the user's folder, or checks that the one there is a real folder
    // of this user that no one else may write into (a folder or link planted
    // by another user would receive the export); false with the reason.
    static bool PrepareUserFolder(QString& reason);
    // The plain tables, or with exact the exact ones. False with the reason
    // when the file cannot be written.
    static bool Export(IRixModule& module, const QString& path, QString& reason, bool exact = false);
};

} // namespace rix
