#pragma once

#include <cstdint>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace rix {

class CRixDoc;
class IRixModule;

// Writes the song, while it has unsaved changes, every few seconds (setting
// "AutosaveSeconds", 60 by default) to "autosave-<instance>.sonrix" in the
// application's data folder. The run holds "autosave-<instance>.lock" beside
// it locked (flock) for as long as it lives; the system releases the lock
// the moment the process dies, even before it is reaped, so an autosave
// whose lock no one holds was left by a crash and is offered back at the
// next start. A clean exit removes the file. A recovered autosave is held
// the same way and kept until the recovered song is saved or autosaved
// again, so a second crash still finds it. The autosave never touches the
// document's own file. UI thread.
class CAutosave : public QObject {
    Q_OBJECT

public:
    // instance: a number of this run's own, the process id by default.
    CAutosave(CRixDoc& document, IRixModule& module, QObject* parent = nullptr, int64_t instance = -1);
    // Releases the locks and leaves the files, as a crash would.
    ~CAutosave() override;

    static QString Folder();
    QString FilePath() const;
    // Writes now when the song has unsaved changes that are not yet in the
    // autosave; removes the autosave once the song has none.
    void SaveNow();
    // After a save or a clean exit nothing is left to recover.
    void Discard();

    // Autosaves of runs that are gone, newest first.
    static QStringList FindOrphans();
    // Takes over an orphan whose song was recovered: held until Discard or
    // the next successful SaveNow removes it.
    void Adopt(const QString& orphan);
    // Removes an orphan that is not wanted.
    static void RemoveOrphan(const QString& orphan);

private:
    void DropAdopted();

    CRixDoc& document;
    IRixModule& module;
    int64_t instance;
    QTimer timer;
    // The module's change count in the autosave; 0 when none was written.
    uint32_t savedChangeCount = 0;
    // Handles of the held locks, -1 for none.
    int lock = -1;
    QString adopted;
    int adoptedLock = -1;
};

} // namespace rix
