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
// application's data folder. A clean exit removes the file; a file whose
// instance (the process id of the run that wrote it) no longer runs was left
// by a crash and is offered back at the next start. The autosave never
// touches the document's own file. UI thread.
class CAutosave : public QObject {
    Q_OBJECT

public:
    CAutosave(CRixDoc& document, IRixModule& module, QObject* parent = nullptr, int64_t instance = -1);
    ~CAutosave() override;

    static QString Folder();
    QString FilePath() const;
    // Writes now when the song has unsaved changes that are not yet in the
    // autosave; removes the autosave once the song has none.
    void SaveNow();
    // After a clean exit nothing is left to recover.
    void Discard();

    // Autosaves of runs that are gone, newest first.
    static QStringList FindOrphans();

private:
    CRixDoc& document;
    IRixModule& module;
    int64_t instance;
    QTimer timer;
    // The module's change count in the autosave; 0 when none was written.
    uint32_t savedChangeCount = 0;
};

} // namespace rix
