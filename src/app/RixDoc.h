#pragma once

#include <QObject>
#include <QString>

#include "IPlaybackDocument.h"

namespace rix {

class CPlaybackController;
class CSongEditor;

// The open song as a document: its file path and its modified flag. The
// song itself lives in the playback controller's module; New goes through
// the edit layer, Open and Save lock the module for the shortest stretch
// (see CModuleFileIo), and each new song is announced to every window.
//
// Threading: UI thread, except SetModified, which the module calls on
// whichever thread unlocks a writing level; from another thread the mark is
// posted to the UI thread.
class CRixDoc : public QObject, public IPlaybackDocument {
    Q_OBJECT

public:
    explicit CRixDoc(CSongEditor& editor, QObject* parent = nullptr);
    ~CRixDoc() override;

    void SetModified() override;
    void ClearModified() override;
    // Posted to the UI thread as PlaybackFailed.
    void OnPlaybackFailed(const std::string& reason) override;
    bool IsModified() const { return modified; }

    // Empty for a song that has never been saved.
    const QString& GetPathName() const { return pathName; }
    // The file's name, or "Untitled".
    QString GetTitle() const;

    // The default song, unmodified and untitled.
    void OnNewDocument();
    // On failure the song, the path and the flag stay as they were; reason
    // says why.
    bool OnOpenDocument(const QString& path, QString& reason);
    bool OnSaveDocument(const QString& path, QString& reason);
    // A song rescued from an autosave: opened as an untitled, modified
    // document, so that saving it asks for a name and the file it came from
    // is never overwritten.
    bool OpenRecovered(const QString& path, QString& reason);

signals:
    void ModifiedChanged(bool modified);
    void PathChanged(const QString& pathName);
    void PlaybackFailed(const QString& reason);

private:
    void SetModifiedFlag(bool value);
    void SetPathName(const QString& path);

    CSongEditor& editor;
    CPlaybackController& controller;
    QString pathName;
    bool modified = false;
};

} // namespace rix
