#include "RixDoc.h"

#include <QFileInfo>
#include <QThread>

#include "ModuleFileIo.h"
#include "PlaybackController.h"
#include "SongEditor.h"

namespace rix {

CRixDoc::CRixDoc(CSongEditor& editor, QObject* parent)
    : QObject(parent), editor(editor), controller(editor.Controller())
{
    controller.RegisterDocument(this);
}

CRixDoc::~CRixDoc()
{
    controller.RegisterDocument(nullptr);
}

void CRixDoc::SetModified()
{
    if (QThread::currentThread() == thread()) {
        SetModifiedFlag(true);
        return;
    }
    // The document may be gone by the time the event is handled; the
    // context object drops the call then.
    QMetaObject::invokeMethod(this, [this] { SetModifiedFlag(true); }, Qt::QueuedConnection);
}

void CRixDoc::ClearModified()
{
    SetModifiedFlag(false);
}

void CRixDoc::OnPlaybackFailed(const std::string& reason)
{
    QMetaObject::invokeMethod(
        this, [this, text = QString::fromStdString(reason)] { emit PlaybackFailed(text); }, Qt::QueuedConnection);
}

QString CRixDoc::GetTitle() const
{
    return pathName.isEmpty() ? tr("Untitled") : QFileInfo(pathName).fileName();
}

void CRixDoc::OnNewDocument()
{
    editor.NewSong();
    SetPathName(QString());
    // Stops playback, puts the cursor home, tells every window of the new
    // song and clears the modified flag.
    controller.ResetEditors();
}

bool CRixDoc::OnOpenDocument(const QString& path, QString& reason)
{
    if (!CModuleFileIo::Load(path, controller.GetSongModule(), reason))
        return false;
    // The load's write marked the song modified, but a song as its file
    // holds it is not, not even while the windows take it in.
    SetModifiedFlag(false);
    SetPathName(QFileInfo(path).absoluteFilePath());
    controller.ResetEditors();
    return true;
}

bool CRixDoc::OnSaveDocument(const QString& path, QString& reason)
{
    if (!CModuleFileIo::Save(path, controller.GetSongModule(), reason))
        return false;
    SetPathName(QFileInfo(path).absoluteFilePath());
    SetModifiedFlag(false);
    return true;
}

bool CRixDoc::OpenRecovered(const QString& path, QString& reason)
{
    if (!CModuleFileIo::Load(path, controller.GetSongModule(), reason))
        return false;
    SetPathName(QString());
    controller.ResetEditors();
    SetModifiedFlag(true);
    return true;
}

void CRixDoc::SetModifiedFlag(bool value)
{
    if (modified == value)
        return;
    modified = value;
    emit ModifiedChanged(modified);
}

void CRixDoc::SetPathName(const QString& path)
{
    pathName = path;
    emit PathChanged(pathName);
}

} // namespace rix
