#pragma once

#include <QObject>
#include <QString>

#include "IMessageTarget.h"

class QStatusBar;

namespace rix {

class CPlaybackController;

// What the status bar says while no note shows: "Ready", or what plays
// ("Playing song", "Looping position 3"). It follows the playing position
// the playback thread posts; a note that times out gives way to it again.
// UI thread, but for PostMessage.
class CPlaybackStatus : public QObject, public IMessageTarget {
    Q_OBJECT

public:
    CPlaybackStatus(CPlaybackController& controller, QStatusBar& statusBar, QObject* parent);
    ~CPlaybackStatus() override;

    QString IdleText() const { return idleText; }
    // The text for a playback that started at an absolute row, looping its
    // order position or not. Positions and rows are hexadecimal, as the
    // order table and the pattern editor number them.
    static QString PlayingText(bool loop, uintptr_t firstRow);

    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

private:
    void OnPlayingPosition(uintptr_t row);

    CPlaybackController& controller;
    QStatusBar& statusBar;
    QString idleText;
    bool playing = false;
};

} // namespace rix
