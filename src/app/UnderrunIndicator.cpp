#include "UnderrunIndicator.h"

#include <QLabel>
#include <QStatusBar>

#include "PlaybackController.h"

namespace rix {

CUnderrunIndicator::CUnderrunIndicator(CPlaybackController& controller, QStatusBar* statusBar)
    : QObject(statusBar), controller(controller), pane(new QLabel(statusBar))
{
    pane->setObjectName(QStringLiteral("Underruns"));
    pane->setAccessibleName(tr("Underruns"));
    pane->setToolTip(tr("Dropouts since start-up: buffers the audio output could not fill in time"));
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar->addPermanentWidget(pane);
    connect(&timer, &QTimer::timeout, this, &CUnderrunIndicator::Update);
    timer.start(1000);
    Update();
}

void CUnderrunIndicator::Update()
{
    const auto count = static_cast<int64_t>(controller.GetUnderrunCount());
    if (count == shown)
        return;
    shown = count;
    pane->setText(tr("Underruns: %1").arg(count));
}

} // namespace rix
