#pragma once

#include <utility>
#include <vector>

#include <QRect>
#include <QSize>
#include <QWidget>

namespace rix {

class CPlaybackController;
class CSongEditor;

// The one view of the main window: every editor and panel of the program
// as a child window, plus the transport buttons and the eight channel
// envelope buttons. The children are made once, when the view is built; a
// window text names each (accessible and object name) and a tooltip says
// what it does. Each has its place in a composition of 910 x 560 pixels; a
// larger view lets the order table, the pattern area and the side panel
// run down to the bottom, and the side panel take the width (where it
// shows the oscillators and the effects side by side). UI thread.
class CRixView : public QWidget {
    Q_OBJECT

public:
    // A child's place in view pixels of the composition, given as left,
    // top, right, bottom; growsDown, growsRight: its bottom, its right edge
    // follows the view's.
    struct TPlace {
        const char* text;
        int left;
        int top;
        int right;
        int bottom;
        bool growsDown = false;
        bool growsRight = false;
        QRect Rect() const { return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)); }
    };
    static const TPlace kOrderTable, kPattern, kOscBar, kMixer, kMaster, kSide, kTimeCounter, kPlay,
        kPlayFromCursor, kPatternPlay, kStop, kBpm;
    static constexpr QSize kComposition{910, 560};
    // Envelope button i (0..7) of channel i + 1.
    static QRect EnvButtonRect(int index);
    // Where a place is in a view of the given size (at least the
    // composition's).
    static QRect PlaceIn(const TPlace& place, QSize view);

    CRixView(CSongEditor& editor, QWidget* parent);
    // Stops playback first, since the children it notifies go with the view.
    ~CRixView() override;

    // Transport: Play, Play from cursor and Pattern play restart a running
    // playback.
    void OnPlay();
    void OnPlayFromCursor();
    void OnPatternPlay();
    void OnStop();
    // The grids keep the playing position in view, or stay where the
    // cursor is.
    void SetFollowPlayback(bool follow);
    // Opens the envelope editor on channel (0..7)'s envelope.
    void OnEnvButton(int channel);
    // To the focused window when it takes the clipboard; else nothing.
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateChildren();
    // Names a child and keeps it at its place.
    void Place(QWidget* child, const TPlace& place);
    void Layout();

    CSongEditor& editor;
    CPlaybackController& controller;
    std::vector<std::pair<QWidget*, TPlace>> placed;
};

} // namespace rix
