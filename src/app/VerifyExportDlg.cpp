#include "VerifyExportDlg.h"

#include <exception>
#include <memory>

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "PlaybackController.h"
#include "RixExportReportText.h"
#include "RixExportVerifier.h"
#include "RixModule.h"

namespace rix {

CVerifyExportDlg::CVerifyExportDlg(QWidget* parent, CPlaybackController& controller, const QString& song, bool exact)
    : QDialog(parent), verdict(new QLabel(this)), busy(new QProgressBar(this)), report(new QPlainTextEdit(this))
{
    setWindowTitle(tr("Verify Export"));
    setObjectName(QStringLiteral("Verify Export"));
    setAccessibleName(QStringLiteral("Verify Export"));
    verdict->setText(exact ? tr("Playing the exact tables with the intro's replay routine...")
                           : tr("Playing the plain tables with the intro's replay routine..."));
    verdict->setWordWrap(true);
    verdict->setObjectName(QStringLiteral("Verdict"));
    QFont bold = verdict->font();
    bold.setBold(true);
    verdict->setFont(bold);
    busy->setRange(0, 0);
    busy->setObjectName(QStringLiteral("Verifying"));
    busy->setAccessibleName(QStringLiteral("Verifying"));
    report->setReadOnly(true);
    report->setLineWrapMode(QPlainTextEdit::NoWrap);
    report->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    report->setObjectName(QStringLiteral("Report"));
    report->setAccessibleName(QStringLiteral("Report"));
    report->setToolTip(tr("The intro's render against the editor's: the level difference of every channel and of "
                          "the mix, each oscillator's pitch error and what the tables leave out"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    closeButton = buttons->button(QDialogButtonBox::Close);
    closeButton->setObjectName(QStringLiteral("Close"));
    closeButton->setAccessibleName(QStringLiteral("Close"));
    closeButton->setToolTip(tr("Close the report"));
    closeButton->setEnabled(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &CVerifyExportDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(verdict);
    layout->addWidget(busy);
    layout->addWidget(report, 1);
    layout->addWidget(buttons);
    resize(720, 520);

    auto copy = std::make_shared<CRixModuleData>();
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_READ);
        *copy = *data;
    }
    worker = std::thread([this, &controller, copy, name = song.toStdString(), exact] {
        QString text;
        try {
            const auto hold = controller.IntroRender().Hold();
            text = QString::fromStdString(ExportReportText(name, CRixExportVerifier::Verify(*copy, exact)));
        } catch (const std::exception& error) {
            text = tr("The song could not be verified: %1").arg(QString::fromLocal8Bit(error.what()));
        }
        QMetaObject::invokeMethod(this, [this, text] { ShowReport(text); }, Qt::QueuedConnection);
    });
}

CVerifyExportDlg::~CVerifyExportDlg()
{
    if (worker.joinable())
        worker.join();
}

QString CVerifyExportDlg::Report() const
{
    return report->toPlainText();
}

void CVerifyExportDlg::reject()
{
    if (finished)
        QDialog::reject();
}

void CVerifyExportDlg::ShowReport(const QString& text)
{
    worker.join();
    finished = true;
    busy->hide();
    report->setPlainText(text);
    // The report ends with its verdict.
    verdict->setText(text.trimmed().section(QLatin1Char('\n'), -1));
    closeButton->setEnabled(true);
    closeButton->setFocus();
}

} // namespace rix
