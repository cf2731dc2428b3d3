#pragma once

#include <array>

#include <QTimer>
#include <QWidget>

class QLabel;
class QStatusBar;

namespace rix {

// The status bar's "CAP", "NUM" and "SCRL" panes: each reads dark while its
// lock key is on. Qt does not tell the lock states, so they are asked of the
// X server's keyboard indicators four times a second; on other platforms
// the panes stay grey. Scroll Lock is the editor's own: "SCRL" reads dark
// while the view is locked, that is while View > Follow Playback is off.
// UI thread.
class CLockKeyIndicators : public QObject {
    Q_OBJECT

public:
    explicit CLockKeyIndicators(QStatusBar* statusBar);

    // Bit 0 Caps, bit 1 Num, bit 2 Scroll; -1 when unknown.
    static int ReadLockState();
    void ShowScrollLock(bool locked);
    bool ScrollLockShown() const;

private:
    void Update();

    std::array<QLabel*, 3> panes{};
    QTimer timer;
    int shown = -2;
};

} // namespace rix
