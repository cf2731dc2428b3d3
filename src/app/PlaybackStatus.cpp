#include "PlaybackStatus.h"

#include <QStatusBar>

#include "PlaybackController.h"
#include "RixConstants.h"

namespace rix {

namespace {

QString Hex(uintptr_t value)
{
    return QString::number(value, 16).toUpper();
}

} // namespace

CPlaybackStatus::CPlaybackStatus(CPlaybackController& controller, QStatusBar& statusBar, QObject* parent)
    : QObject(parent), controller(controller), statusBar(statusBar), idleText(tr("Ready"))
{
    controller.AddListener(this, POSTS_POSITION);
}

CPlaybackStatus::~CPlaybackStatus()
{
    controller.RemoveListener(this);
}

QString CPlaybackStatus::PlayingText(bool loop, uintptr_t firstRow)
{
    const uintptr_t position = firstRow / RIX_ROWS;
    if (loop)
        return tr("Looping position %1").arg(Hex(position));
    if (firstRow % RIX_ROWS == 0)
        return tr("Playing song");
    return tr("Playing song from position %1, row %2").arg(Hex(position), Hex(firstRow % RIX_ROWS));
}

void CPlaybackStatus::PostMessage(uint32_t message, uintptr_t wParam, intptr_t)
{
    if (message == MSG_PLAYING_POSITION)
        QMetaObject::invokeMethod(this, [this, wParam] { OnPlayingPosition(wParam); }, Qt::QueuedConnection);
}

void CPlaybackStatus::OnPlayingPosition(uintptr_t row)
{
    const bool nowPlaying = row < NO_PLAYING_POSITION;
    if (nowPlaying == playing)
        return;
    playing = nowPlaying;
    idleText = playing ? PlayingText(controller.IsLoopPattern(), row) : tr("Ready");
    statusBar.showMessage(idleText);
}

} // namespace rix
