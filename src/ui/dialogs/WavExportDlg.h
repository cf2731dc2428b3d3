#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;

namespace rix {

class IRixModule;

// The progress dialog of File ▸ Export ▸ WAV: renders the whole song into
// the chosen file on a worker thread of its own with a player of its own,
// while playback and editing go on. Escape cancels; the dialog stays until
// the worker has stopped, and closes before the result is told (ShowResult,
// after exec()). The file is written whole or not at all
// (CWavExporter), so a cancelled or failed export leaves no file under the
// chosen name (an older file of that name untouched) and no temporary file.
// With One file per channel it writes the stems into a folder instead
// (ExportStems), one after the other under one progress bar; a cancel or a
// failure keeps the files finished before it.
//
// Threading: the worker touches the dialog only by posting MSG_WAV_PROGRESS
// (percent in wParam) and MSG_WAV_DONE (the TWavExportResult in wParam);
// everything else runs on the UI thread.
class CWavExportDlg : public QDialog {
    Q_OBJECT

public:
    CWavExportDlg(QWidget* parent, IRixModule& module, const QString& path);
    // The stems of the song, about stemCount of them, into folder.
    static std::unique_ptr<CWavExportDlg> ForStems(QWidget* parent, IRixModule& module, const QString& folder,
                                                   int stemCount);
    ~CWavExportDlg() override;

    // How the export ended, once exec() has returned.
    bool Completed() const { return completed; }
    // The box that tells how a completed or failed export ended (nothing
    // after a cancel), owned by the dialog's parent: the progress dialog has
    // closed by then.
    void ShowResult() const;

public slots:
    // Escape: asks the worker to stop before its next block.
    void reject() override;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class CListener;

    void Start();
    void Finish(int result);
    void SetPercent(int percent);

    IRixModule& module;
    // The file, or the stems' folder.
    QString path;
    // Stems expected (0: one file); the worker counts those finished.
    int stemCount = 0;
    std::atomic<int> stemsDone{0};
    int writtenStems = 0;
    QProgressBar* progressBar;
    QLabel* percentText;
    std::thread worker;
    std::atomic<bool> cancelRequested{false};
    // Written by the worker before it posts MSG_WAV_DONE; read after it.
    std::string workerReason;
    bool started = false;
    bool completed = false;
    bool cancelled = false;
    QString failureReason;
};

} // namespace rix
