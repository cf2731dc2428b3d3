#pragma once

#include "MessageWidget.h"

namespace rix {

class CInPlaceEdit;
class CPlaybackController;
class CSpinWnd;

// The tempo control (88 × 26): "BPM:" and the song's tempo, a spin button
// that steps it by one, and an in-place edit opened by a click on the
// number. Every tempo it stores lies in 40..255. UI thread only; it is the
// panel the controller only repaints when the editors are reset.
class CBpmWnd : public CMessageWidget {
    Q_OBJECT
public:
    CBpmWnd(CPlaybackController& controller, QWidget* parent);
    ~CBpmWnd() override;

    void Repaint() override { update(); }
    bool IsEditing() const { return editing; }

protected:
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void StartEdit();
    // Reads the edit's text into the tempo; nothing when no edit runs.
    void EndEdit();
    // Adds step to the tempo unless that leaves 40..255.
    void Step(int32_t step);
    int32_t ReadBpm() const;

    CPlaybackController& controller;
    CSpinWnd* spin;
    CInPlaceEdit* edit;
    bool editing = false;
};

} // namespace rix
