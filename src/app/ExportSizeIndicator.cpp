#include "ExportSizeIndicator.h"

#include <QLabel>
#include <QStatusBar>

#include "ExportForm.h"
#include "PlaybackController.h"
#include "RixExportSize.h"
#include "RixModule.h"

namespace rix {

namespace {
constexpr int kCheckIntervalMs = 500;
} // namespace

CExportSizeIndicator::CExportSizeIndicator(CPlaybackController& controller, const CExportForm& form,
                                           QStatusBar* statusBar)
    : QObject(statusBar), controller(controller), form(form), pane(new QLabel(statusBar)),
      worker([this](uint64_t serial, const TRixExportBreakdown& breakdown) {
          const TExportSize size = breakdown.total;
          QMetaObject::invokeMethod(
              this,
              [this, serial, size] {
                  // Only the latest request's figure, which is in its form.
                  if (serial != latestSerial)
                      return;
                  const QString text =
                      measuredExact ? tr("Intro data (exact): %1 B, %2 B packed") : tr("Intro data: %1 B, %2 B packed");
                  pane->setText(text.arg(size.rawBytes).arg(size.compressedBytes));
              },
              Qt::QueuedConnection);
      },
             // The total alone: a fifth of the breakdown's time.
             [](const CRixModuleData& song, bool exact) {
                 TRixExportBreakdown total;
                 total.total = MeasureExportSize(song, exact);
                 return total;
             })
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
    if (measured && changeCount == measuredChangeCount && exact == measuredExact)
        return;
    auto song = std::make_unique<CRixModuleData>();
    {
        CRixModuleLock data(module, nexilon::LOCKMODE_READ);
        *song = *data;
    }
    measured = true;
    measuredChangeCount = changeCount;
    measuredExact = exact;
    latestSerial = worker.Request(std::move(song), exact);
}

QString CExportSizeIndicator::Text() const
{
    return pane->text();
}

} // namespace rix
