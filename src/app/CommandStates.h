#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <vector>

#include "IMessageTarget.h"

class QAction;
class QWidget;

namespace rix {

class CSongEditor;
class IClipboardTarget;

// Enables the commands that can act now and disables the others: Cut and
// Copy while a window that takes the clipboard has the focus (with nothing
// selected they act on its cursor cell), Paste when that window has
// something to paste; the play buttons while the song has an order
// position to play, Stop while a playback runs or starts. Follows the
// focus, the song and the playback. (Undo and Redo follow the history themselves.) UI thread,
// but for PostMessage.
class CCommandStates : public QObject, public IMessageTarget {
    Q_OBJECT

public:
    struct TTransport {
        std::vector<QWidget*> play;  // enabled while there is a song to play
        QWidget* stop;               // enabled while it plays
    };

    CCommandStates(CSongEditor& editor, QAction* cut, QAction* copy, QAction* paste, TTransport transport,
                   QObject* parent);
    ~CCommandStates() override;

    void Update();

    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void OnSongChanged(const TSongChange&) override { Update(); }

private:
    void OnFocusChanged(QWidget* now);

    CSongEditor& editor;
    QAction* cut;
    QAction* copy;
    QAction* paste;
    // The view's buttons, which go before this when the frame closes while
    // an open edit still commits.
    std::vector<QPointer<QWidget>> play;
    QPointer<QWidget> stop;
    // The window the clipboard commands go to: the focus, kept while a menu
    // or another popup has it.
    QPointer<QWidget> focused;
    // Whether the last position posted was a playing one (any thread).
    std::atomic<bool> heardPlaying{false};
    QTimer busyCheck;
};

} // namespace rix
