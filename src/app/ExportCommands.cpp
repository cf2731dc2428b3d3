#include "ExportCommands.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QUrl>

#include "CppExport.h"
#include "RixDoc.h"
#include "SaveFileDialog.h"
#include "WavExportDlg.h"

namespace rix {

namespace {

const QString kFolderKey = QStringLiteral("Export/Folder");

} // namespace

CExportCommands::CExportCommands(QMainWindow& frame, QWidget& view, IRixModule& module, const CRixDoc& document)
    : QObject(&frame), frame(frame), view(view), module(module), document(document)
{
}

QString CExportCommands::ProposedPath(const QString& extension) const
{
    const QString song = document.GetPathName();
    QString folder = QSettings().value(kFolderKey).toString();
    if (!song.isEmpty() && QFileInfo(QFileInfo(song).absolutePath()).isWritable())
        folder = QFileInfo(song).absolutePath();
    else if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString name = song.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(song).completeBaseName();
    return QDir(folder).filePath(name + QLatin1Char('.') + extension);
}

void CExportCommands::RememberFolder(const QString& path)
{
    QSettings().setValue(kFolderKey, QFileInfo(path).absolutePath());
}

void CExportCommands::ShowCppFailure(const QString& reason)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("sonrix3"), tr("Failed to export"), QMessageBox::Ok, &frame);
    box.setObjectName(QStringLiteral("Export failed"));
    box.setInformativeText(reason);
    box.exec();
}

bool CExportCommands::WriteCpp(const QString& path)
{
    QString reason;
    if (!CCppExport::Export(module, path, reason)) {
        ShowCppFailure(QDir::toNativeSeparators(path) + QStringLiteral("\n\n") + reason);
        return false;
    }
    frame.statusBar()->showMessage(tr("C++ song data written to %1").arg(QDir::toNativeSeparators(path)), 10000);
    return true;
}

void CExportCommands::OnExportCpp()
{
    const QString path = CCppExport::DefaultPath(document.GetPathName());
    QString reason;
    if (!CCppExport::PrepareUserFolder(reason)) {
        ShowCppFailure(reason);
        return;
    }
    if (!WriteCpp(path))
        return;
    // openUrl hands the file to the desktop and returns without waiting.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        frame.statusBar()->showMessage(
            tr("No text editor could be opened; the C++ song data is in %1").arg(QDir::toNativeSeparators(path)));
}

void CExportCommands::OnExportCppAs()
{
    const QString path =
        CSaveFileDialog::Ask(&frame, tr("Export C++"), ProposedPath(QStringLiteral("cpp")),
                             tr("C++ files (*.cpp)"), QStringLiteral("cpp"));
    if (path.isEmpty())
        return;
    RememberFolder(path);
    WriteCpp(path);
}

void CExportCommands::OnExportWav()
{
    const QString path = CSaveFileDialog::Ask(&frame, tr("Export WAV"), ProposedPath(QStringLiteral("wav")),
                                              tr("WAV files (*.wav)"), QStringLiteral("wav"));
    if (path.isEmpty())
        return;
    RememberFolder(path);
    CWavExportDlg dialog(&view, module, path);
    dialog.exec();
    dialog.ShowResult();
}

} // namespace rix
