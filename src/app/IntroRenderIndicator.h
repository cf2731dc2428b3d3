#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "IntroRenderSwitch.h"

class QLabel;
class QStatusBar;

namespace rix {

class CPlaybackController;

// The status bar's word on the A/B switch (File ▸ Export ▸ Hear the Intro's
// Render): whether the intro's render is still being prepared, and how it
// compares with the editor's, "identical" over how many seconds, or the
// largest difference of one sample so far and where. Hidden while the
// switch is off and nothing was compared. Looks four times a second. UI
// thread.
class CIntroRenderIndicator : public QObject {
    Q_OBJECT

public:
    CIntroRenderIndicator(CPlaybackController& controller, QStatusBar* statusBar);

    void Update();
    QString Text() const;
    // The pane's text for a status, while the song plays or not.
    static QString Describe(const TIntroRenderStatus& status, bool playing);

private:
    CPlaybackController& controller;
    QLabel* pane;
    QTimer timer;
};

} // namespace rix
