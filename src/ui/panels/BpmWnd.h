#pragma once

#include "MessageWidget.h"

namespace rix {

class CInPlaceEdit;
class CPlaybackController;
class CSongEditor;
class CSpinWnd;

// The tempo control (88 × 26): "BPM:" and the song's tempo, a spin button
// that steps it by one (a held button is one undo step), and an in-place
// edit opened by a click on the number. Every tempo it stores lies in
// 40..255. UI thread only.
class CBpmWnd : public CMessageWidget {
    Q_OBJECT
public:
    CBpmWnd(CSongEditor& editor, QWidget* parent);
    ~CBpmWnd() override;

    void OnSongChanged(const TSongChange& change) override;
    bool IsEditing() const { return editing; }

protected:
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void StartEdit();
    // Reads the edit's text into the tempo; nothing when no edit runs.
    void EndEdit();
    int32_t ReadBpm() const;

    CSongEditor& editor;
    CPlaybackController& controller;
    CSpinWnd* spin;
    CInPlaceEdit* edit;
    bool editing = false;
};

} // namespace rix
