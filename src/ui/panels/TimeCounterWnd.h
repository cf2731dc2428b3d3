#pragma once

#include "MessageWidget.h"

namespace rix {

class CPlaybackController;

// The time counter (120 × 30): the time of the playing row, or of the
// editing cursor while nothing plays, as "mm:ss.hh", at the song's tempo:
// it follows the playing position, the cursor and tempo changes.
class CTimeCounterWnd : public CMessageWidget {
    Q_OBJECT
public:
    CTimeCounterWnd(CPlaybackController& controller, QWidget* parent);
    ~CTimeCounterWnd() override;

    void SetOrderCursor(int32_t order) override;
    void SetRowCursor(int32_t row) override;
    void OnSongChanged(const TSongChange& change) override;
    // Hundredths of a second shown.
    int32_t GetTime() const { return time; }

protected:
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The time of the playing row, else of the cursor.
    void ShowTime();

    CPlaybackController& controller;
    int32_t time = 0;
    // The absolute row playing, -1 while nothing plays.
    int32_t playingRow = -1;
};

} // namespace rix
