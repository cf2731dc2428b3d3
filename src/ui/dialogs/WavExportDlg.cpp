#include "WavExportDlg.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QVBoxLayout>

#include "IWavExportListener.h"
#include "StemExporter.h"
#include "UiMessages.h"
#include "WavExporter.h"
#include "nexilon/String.h"

namespace rix {

// Runs on the worker thread: only posts.
class CWavExportDlg::CListener : public IWavExportListener {
public:
    explicit CListener(CWavExportDlg& dialog) : dialog(dialog) {}

    void OnProgress(int32_t percent, uint64_t, uint64_t) override
    {
        // Stems: each file's share of the whole bar.
        const int files = std::max(dialog.stemCount, 1);
        const int done = std::min(dialog.stemsDone.load(), files - 1);
        PostMessageTo(&dialog, MSG_WAV_PROGRESS, static_cast<uintptr_t>((done * 100 + percent) / files), 0);
    }
    void OnCompleted(const std::string&) override { ++dialog.stemsDone; }
    void OnFailed(const std::string&, const std::string& reason) override { dialog.workerReason = reason; }
    void OnCancelled() override {}

private:
    CWavExportDlg& dialog;
};

CWavExportDlg::CWavExportDlg(QWidget* parent, IRixModule& module, const QString& path)
    : QDialog(parent), module(module), path(path)
{
    setWindowTitle(tr("WAV export"));
    setObjectName(QStringLiteral("WAV export"));
    setAccessibleName(QStringLiteral("WAV export"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(tr("Exporting ..."), this);
    progressBar = new QProgressBar(this);
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);
    progressBar->setObjectName(QStringLiteral("Progress"));
    progressBar->setAccessibleName(QStringLiteral("Progress"));
    percentText = new QLabel(QStringLiteral("0%"), this);
    percentText->setObjectName(QStringLiteral("Percent"));
    percentText->setAccessibleName(QStringLiteral("Percent"));
    auto* hint = new QLabel(tr("Press ESC to cancel"), this);
    for (QWidget* widget : {static_cast<QWidget*>(title), static_cast<QWidget*>(progressBar),
                            static_cast<QWidget*>(percentText), static_cast<QWidget*>(hint)})
        layout->addWidget(widget);
    setFixedWidth(300);
}

CWavExportDlg::~CWavExportDlg()
{
    // Closed from outside before the worker ended: stop it and wait, since
    // it posts to this object.
    cancelRequested = true;
    if (worker.joinable())
        worker.join();
}

void CWavExportDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!started)
        Start();
}

std::unique_ptr<CWavExportDlg> CWavExportDlg::ForStems(QWidget* parent, IRixModule& module, const QString& folder,
                                                       int stemCount)
{
    auto dialog = std::make_unique<CWavExportDlg>(parent, module, folder);
    dialog->stemCount = std::max(stemCount, 1);
    return dialog;
}

void CWavExportDlg::Start()
{
    started = true;
    worker = std::thread([this] {
        CListener listener(*this);
        const std::string localPath = QFile::encodeName(path).toStdString();
        TWavExportResult result = TWavExportResult::Completed;
        if (stemCount > 0) {
            const TStemExportResult stems = ExportStems(module, localPath, listener, cancelRequested);
            result = stems.result;
            writtenStems = static_cast<int>(stems.paths.size());
        } else {
            CWavExporter exporter(module, nexilon::CString(std::string_view(localPath)), listener);
            result = exporter.Run(cancelRequested);
        }
        PostMessageTo(this, MSG_WAV_DONE, static_cast<uintptr_t>(result), 0);
    });
}

void CWavExportDlg::reject()
{
    cancelRequested = true;
}

bool CWavExportDlg::event(QEvent* event)
{
    if (event->type() != CMessageEvent::EventType())
        return QDialog::event(event);
    const auto* message = static_cast<CMessageEvent*>(event);
    if (message->Message() == MSG_WAV_PROGRESS)
        SetPercent(static_cast<int>(message->WParam()));
    else if (message->Message() == MSG_WAV_DONE)
        Finish(static_cast<int>(message->WParam()));
    return true;
}

void CWavExportDlg::SetPercent(int percent)
{
    progressBar->setValue(percent);
    percentText->setText(QStringLiteral("%1%").arg(percent));
}

void CWavExportDlg::Finish(int result)
{
    worker.join();
    const auto outcome = static_cast<TWavExportResult>(result);
    completed = outcome == TWavExportResult::Completed;
    cancelled = outcome == TWavExportResult::Cancelled;
    if (completed)
        SetPercent(100);
    else if (outcome == TWavExportResult::Failed)
        failureReason = QString::fromStdString(workerReason);
    done(0);
}

void CWavExportDlg::ShowResult() const
{
    QWidget* owner = parentWidget();
    if (completed && stemCount > 0)
        QMessageBox::information(owner, QStringLiteral("SONRIX3"),
                                 QString::fromLatin1(CWavExporter::kCompletedMessage) + QStringLiteral("\n\n") +
                                     (writtenStems == 1 ? tr("1 file in %1") : tr("%1 files in %2").arg(writtenStems))
                                         .arg(QDir::toNativeSeparators(path)));
    else if (completed)
        QMessageBox::information(owner, QStringLiteral("SONRIX3"), QString::fromLatin1(CWavExporter::kCompletedMessage));
    else if (!cancelled && started)
        QMessageBox::critical(owner, QStringLiteral("SONRIX3"),
                              QString::fromLatin1(CWavExporter::kFailedMessage) + QStringLiteral("\n\n") +
                                  QDir::toNativeSeparators(path) + QStringLiteral(": ") + failureReason);
}

} // namespace rix
