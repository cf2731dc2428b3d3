#pragma once

#include <array>

#include <QRect>
#include <QWidget>

namespace rix {

class CImageButton;
class CPlaybackController;
class CSongEditor;

// The one view of the main window: every editor and panel of the program
// as a child window at a fixed place, plus the transport buttons and the
// eight channel envelope buttons. The children are made once, when the
// view is built; a window text names each (accessible and object name).
// UI thread.
class CRixView : public QWidget {
    Q_OBJECT

public:
    // A child's place in view pixels, given as left, top, right, bottom.
    struct TPlace {
        const char* text;
        int left;
        int top;
        int right;
        int bottom;
        QRect Rect() const { return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)); }
    };
    static const TPlace kOrderTable, kPattern, kOscBar, kMixer, kMaster, kSide, kTimeCounter, kPlay,
        kPatternPlay, kStop, kBpm;
    // Envelope button i (0..7) of channel i + 1.
    static QRect EnvButtonRect(int index);

    CRixView(CSongEditor& editor, QWidget* parent);
    // Stops playback first, since the children it notifies go with the view.
    ~CRixView() override;

    // Transport: Play and Pattern play restart a running playback.
    void OnPlay();
    void OnPatternPlay();
    void OnStop();
    // Opens the envelope editor on channel (0..7)'s envelope.
    void OnEnvButton(int channel);
    // To the focused window when it takes the clipboard; else nothing.
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();

private:
    void CreateChildren();
    // Puts a child at its place and names it.
    void Place(QWidget* child, const TPlace& place);

    CSongEditor& editor;
    CPlaybackController& controller;
    std::array<CImageButton*, 8> envButtons{};
};

} // namespace rix
