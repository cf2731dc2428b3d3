#pragma once

#include "MessageWidget.h"

namespace rix {

class CPlaybackController;
class CSongEditor;
class CVolumeBarWnd;

// The master panel (355 × 30): "Master", a bar for the song's master volume
// (0..255 shown as 0..1; a drag is one undo step) that also meters the heard
// mix, and the volume as a number. UI thread only.
class CMasterWnd : public CMessageWidget {
    Q_OBJECT
public:
    CMasterWnd(CSongEditor& editor, QWidget* parent);
    ~CMasterWnd() override;

    void OnSongChanged(const TSongChange& change) override;
    CVolumeBarWnd& Bar() const { return *bar; }

protected:
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowLevel(bool playing);
    // Shows the song's master volume.
    void ShowVolume();

    CSongEditor& editor;
    CPlaybackController& controller;
    CVolumeBarWnd* bar;
};

} // namespace rix
