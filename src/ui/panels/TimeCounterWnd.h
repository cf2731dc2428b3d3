#pragma once

#include "MessageWidget.h"

namespace rix {

class CPlaybackController;

// The time counter (120 × 30): the time of the playing row, or of the
// editing cursor while nothing plays, as "mm:ss.hh". It follows the
// controller's position messages (absolute rows) at the song's tempo.
class CTimeCounterWnd : public CMessageWidget {
    Q_OBJECT
public:
    CTimeCounterWnd(CPlaybackController& controller, QWidget* parent);
    ~CTimeCounterWnd() override;

    // Hundredths of a second shown.
    int32_t GetTime() const { return time; }

protected:
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CPlaybackController& controller;
    int32_t time = 0;
};

} // namespace rix
