#pragma once

#include <cstdint>

#include <QObject>
#include <QTimer>

class QLabel;
class QStatusBar;

namespace rix {

class CPlaybackController;

// The status bar's count of dropouts: buffers the song's sound could not
// fill in time since start-up, each heard as a short gap. Asked of the
// controller once a second (it counts without a lock); UI thread.
class CUnderrunIndicator : public QObject {
    Q_OBJECT

public:
    CUnderrunIndicator(CPlaybackController& controller, QStatusBar* statusBar);

private:
    void Update();

    CPlaybackController& controller;
    QLabel* pane;
    QTimer timer;
    int64_t shown = -1;
};

} // namespace rix
