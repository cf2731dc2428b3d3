#include "IntroRenderIndicator.h"

#include <cmath>

#include <QLabel>
#include <QStatusBar>

#include "PlaybackController.h"
#include "RixConstants.h"

namespace rix {

namespace {

constexpr int kCheckIntervalMs = 250;

QString SongTime(uint64_t sample)
{
    const uint64_t hundredths = sample * 100 / RIX_SAMPLE_RATE;
    return QStringLiteral("%1:%2.%3")
        .arg(hundredths / 6000)
        .arg(hundredths / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

} // namespace

CIntroRenderIndicator::CIntroRenderIndicator(CPlaybackController& controller, QStatusBar* statusBar)
    : QObject(statusBar), controller(controller), pane(new QLabel(statusBar))
{
    pane->setObjectName(QStringLiteral("Intro render"));
    pane->setAccessibleName(QStringLiteral("Intro render"));
    pane->setToolTip(tr("The intro's render against the editor's, sample by sample, since playback started or the "
                        "song last changed: identical, or the largest difference of one sample and where"));
    // Leftmost of the permanent panes, beside the messages.
    statusBar->insertPermanentWidget(0, pane);
    pane->hide();
    connect(&timer, &QTimer::timeout, this, &CIntroRenderIndicator::Update);
    timer.start(kCheckIntervalMs);
}

QString CIntroRenderIndicator::Describe(const TIntroRenderStatus& status, bool playing)
{
    if (!status.enabled && status.comparedSamples == 0)
        return {};
    // Short enough for the status bar of the smallest window.
    const QString subject = status.enabled ? tr("Intro render") : tr("Intro render (off)");
    if (!status.failure.empty())
        return tr("%1: cannot play the song: %2").arg(subject, QString::fromStdString(status.failure));
    if (playing && status.enabled && !status.heard)
        return tr("%1: preparing...").arg(subject);
    if (status.comparedSamples == 0)
        return tr("%1: on, for the next playback").arg(subject);
    if (status.worstDifference == 0)
        return tr("%1: identical (%2 s)")
            .arg(subject)
            .arg(static_cast<double>(status.comparedSamples) / RIX_SAMPLE_RATE, 0, 'f', 1);
    return tr("%1: differs by up to %2 (%3 dBFS) at %4")
        .arg(subject)
        .arg(status.worstDifference)
        .arg(20.0 * std::log10(status.worstDifference / 32768.0), 0, 'f', 1)
        .arg(SongTime(status.worstSample));
}

void CIntroRenderIndicator::Update()
{
    const QString text = Describe(controller.IntroRender().Status(), controller.IsPlaying());
    if (text == pane->text())
        return;
    pane->setText(text);
    pane->setVisible(!text.isEmpty());
}

QString CIntroRenderIndicator::Text() const
{
    return pane->text();
}

} // namespace rix
