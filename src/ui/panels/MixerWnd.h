#pragma once

#include <QImage>
#include <array>

#include "MessageWidget.h"
#include "Offscreen.h"

namespace rix {

class CPlaybackController;
class CSongEditor;

// The mixer (355 × 140): one strip per channel at x = 24 + 40·c with the
// channel volume as a fader and, while the song plays, the heard level of
// the channel as a green column. A press on a strip sets its volume and
// drags it until release; each drag is one undo step. UI thread only.
class CMixerWnd : public CMessageWidget {
    Q_OBJECT
public:
    static constexpr int STRIP_WIDTH = 40;
    static constexpr int STRIP_HEIGHT = 140;

    CMixerWnd(CSongEditor& editor, QWidget* parent);
    ~CMixerWnd() override;

    void OnSongChanged(const TSongChange& change) override;
    int32_t GetDraggedChannel() const { return draggedChannel; }
    // The volume the strip of channel (0..7) shows.
    int32_t ShownVolume(int32_t channel) const { return shownVolume[static_cast<std::size_t>(channel)]; }

protected:
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Draws again, from the module and (when playing) the heard levels, the
    // strips whose volume or level column changed, and repaints only those.
    void RedrawStrips(bool playing);
    // The strip of a channel at a volume and level: the level column is
    // taken row by row from two drawings kept per volume (without a level
    // and with the full column), so a moving level costs a copy of a few
    // hundred bytes instead of a drawing with text.
    void DrawStrip(int32_t channel, int32_t volume, int32_t levelHeight);
    void PaintStrip(QImage& strip, int32_t volume, int32_t levelHeight) const;
    // The strips' images at ratio, every strip drawn anew.
    void MakeStrips(qreal ratio);

    CSongEditor& editor;
    CPlaybackController& controller;
    COffscreenKey key;
    std::array<QImage, 8> strips;
    // Per channel, drawn at drawnVolume (-1: not yet at this ratio and
    // scheme): no level, and the full column.
    std::array<QImage, 8> emptyStrips;
    std::array<QImage, 8> fullStrips;
    std::array<int32_t, 8> drawnVolume;
    // What each strip shows: its volume and its level column in pixels
    // (-1 before the first drawing), so an unchanged strip is left alone.
    std::array<int32_t, 8> shownVolume;
    std::array<int32_t, 8> shownLevel;
    int32_t draggedChannel = -1;
    bool playing = false;
};

} // namespace rix
