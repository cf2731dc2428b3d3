#pragma once

#include <QObject>
#include <QString>

class QMainWindow;
class QWidget;

namespace rix {

class CExportForm;
class CRixDoc;
class IRixModule;

// The File ▸ Export commands. C++ writes the song's tables (in the form
// CExportForm names) into the user's own folder under the song's name and
// opens them in the desktop's text editor; C++ As and WAV ask where,
// proposing the song's name, and ask before replacing a file. WAV, One File
// per Channel asks for a folder and writes a stem of each channel that
// plays into it, named as `sonrix3-cli render --stems` names them, asking
// once before it replaces any. A failure is shown in a message box, a
// success in the status bar (WAV: in the box that ends its progress
// dialog). UI thread.
class CExportCommands : public QObject {
    Q_OBJECT

public:
    // view owns the WAV progress dialog; frame shows the notes.
    CExportCommands(QMainWindow& frame, QWidget& view, IRixModule& module, const CRixDoc& document,
                    const CExportForm& form);

    void OnExportCpp();
    void OnExportCppAs();
    void OnExportWav();
    void OnExportWavStems();

    // Where a chosen export of the song is proposed: the song's folder when
    // it has one that can be written, else the folder of the last export,
    // else the home folder; the name is the song's, with extension.
    QString ProposedPath(const QString& extension) const;

private:
    // Writes the C++ tables to path; "Failed to export" with the reason when
    // that fails.
    bool WriteCpp(const QString& path);
    // "Failed to export", the reason below it.
    void ShowCppFailure(const QString& reason);
    void RememberFolder(const QString& path);

    QMainWindow& frame;
    QWidget& view;
    IRixModule& module;
    const CRixDoc& document;
    const CExportForm& form;
};

} // namespace rix
