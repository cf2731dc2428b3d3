#pragma once

#include <QString>

class QWidget;

namespace rix {

// How every command that writes a file the user names asks for it: the save
// dialog, then the file type's extension added to a name that lacks it, then
// - on that final name, the one that will be written - the question before an
// existing file is replaced. "No" returns to the dialog with the name kept.
// The dialog's own overwrite question is switched off: it would look at the
// typed name, before the extension is added. UI thread.
class CSaveFileDialog {
public:
    // extension without the dot ("wav"); filter as QFileDialog takes it. The
    // final path, or empty when the user cancelled.
    static QString Ask(QWidget* parent, const QString& caption, const QString& proposed, const QString& filter,
                       const QString& extension);
    // path, with "." + extension appended unless it ends with it already
    // (in any case): "song" and "song.v2" get it, "song.SONRIX" does not.
    static QString WithExtension(const QString& path, const QString& extension);
    // True when nothing exists at path or the user agreed to replace it.
    static bool MayReplace(QWidget* parent, const QString& path);
};

} // namespace rix
