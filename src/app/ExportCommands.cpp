#include "ExportCommands.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QUrl>

#include "CppExport.h"
#include "ExportForm.h"
#include "RixModule.h"
#include "RixSongEvents.h"
#include "RixDoc.h"
#include "SaveFileDialog.h"
#include "WavExportDlg.h"

namespace rix {

namespace {

const QString kFolderKey = QStringLiteral("Export/Folder");

} // namespace

CExportCommands::CExportCommands(QMainWindow& frame, QWidget& view, IRixModule& module, const CRixDoc& document,
                                 const CExportForm& form)
    : QObject(&frame), frame(frame), view(view), module(module), document(document), form(form)
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
    if (!CCppExport::Export(module, path, reason, form.Exact())) {
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

void CExportCommands::OnExportWavStems()
{
    const QString folder = QFileDialog::getExistingDirectory(&frame, tr("Export WAV, One File per Channel"),
                                                             QFileInfo(ProposedPath(QStringLiteral("wav"))).absolutePath());
    if (folder.isEmpty())
        return;
    QStringList names;
    {
        CRixModuleLock data(module, nexilon::LOCKMODE_READ);
        for (const int channel : PlayingChannels(*data))
            names << QString::fromStdString(StemFileName(*data, channel));
    }
    if (names.isEmpty()) {
        QMessageBox::information(&frame, QStringLiteral("sonrix3"), tr("No channel plays a note: there is nothing to export."));
        return;
    }
    QStringList existing;
    for (const QString& name : names)
        if (QFileInfo::exists(QDir(folder).filePath(name)))
            existing << name;
    if (!existing.isEmpty()) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("sonrix3"),
                        (existing.size() == 1 ? tr("%1 already exists in %2.").arg(existing.first())
                                              : tr("%1 of the files already exist in %2.").arg(existing.size()))
                            .arg(QDir::toNativeSeparators(folder)),
                        QMessageBox::Yes | QMessageBox::No, &frame);
        box.setObjectName(QStringLiteral("Replace files"));
        box.setInformativeText(tr("Do you want to replace them?\n\n%1").arg(existing.join(QLatin1Char('\n'))));
        box.setDefaultButton(QMessageBox::No);
        if (box.exec() != QMessageBox::Yes)
            return;
    }
    QSettings().setValue(kFolderKey, folder);
    const auto dialog = CWavExportDlg::ForStems(&view, module, folder, static_cast<int>(names.size()));
    dialog->exec();
    dialog->ShowResult();
}

} // namespace rix
