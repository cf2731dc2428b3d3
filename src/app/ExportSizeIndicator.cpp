#include "ExportSizeIndicator.h"

#include <QLabel>
#include <QStatusBar>

#include "ExportForm.h"
#include "PlaybackController.h"
#include "RixExportSize.h"
#include "RixModule.h"
#include "RixSongExporter.h"

namespace rix {

namespace {
constexpr int kCheckIntervalMs = 500;
} // namespace

CExportSizeIndicator::CExportSizeIndicator(CPlaybackController& controller, const CExportForm& form,
                                           QStatusBar* statusBar)
    : QObject(statusBar), controller(controller), form(form), pane(new QLabel(statusBar))
{
    pane->setObjectName(QStringLiteral("Intro size"));
    pane->setAccessibleName(QStringLiteral("Intro size"));
    pane->setToolTip(tr("Bytes of the exported song tables in an intro, raw and packed with LZMA, in the form "
                      "File > Export writes (plain or exact tables)"));
    statusBar->addPermanentWidget(pane);
    connect(&timer, &QTimer::timeout, this, &CExportSizeIndicator::Update);
    connect(&form, &CExportForm::Changed, this, &CExportSizeIndicator::Update);
    timer.start(kCheckIntervalMs);
    Update();
}

void CExportSizeIndicator::Update()
{
    IRixModule& module = controller.GetSongModule();
    const uint32_t changeCount = module.GetChangeCount();
    const bool exact = form.Exact();
    if (changeCount == measuredChangeCount && exact == measuredExact && !pane->text().isEmpty())
        return;
    TRixSongTables tables;
    {
        CRixModuleLock data(module, nexilon::LOCKMODE_READ);
        tables = CRixSongExporter().Build(*data, exact);
    }
    const TExportSize size = MeasureExportSize(tables);
    measuredChangeCount = changeCount;
    measuredExact = exact;
    pane->setText((exact ? tr("Intro data (exact): %1 B, %2 B packed") : tr("Intro data: %1 B, %2 B packed"))
                      .arg(size.rawBytes)
                      .arg(size.compressedBytes));
}

QString CExportSizeIndicator::Text() const
{
    return pane->text();
}

} // namespace rix
