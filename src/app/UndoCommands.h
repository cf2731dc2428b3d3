#pragma once

#include <QObject>

#include "IMessageTarget.h"

class QAction;
class QStatusBar;

namespace rix {

class CSongEditor;

// Edit > Undo and Redo: each names the step it takes ("Undo Tempo", "Redo
// Paste") and is disabled while there is none; once a step is taken the
// status bar says which ("Undone: Tempo"). The texts follow every change
// of the song and every step taken. UI thread.
class CUndoCommands : public QObject, public IMessageTarget {
    Q_OBJECT

public:
    CUndoCommands(CSongEditor& editor, QAction* undo, QAction* redo, QStatusBar* statusBar, QObject* parent);
    ~CUndoCommands() override;

    void Undo();
    void Redo();

    void PostMessage(uint32_t, uintptr_t, intptr_t) override {}
    void OnSongChanged(const TSongChange&) override { Update(); }

private:
    void Update();

    CSongEditor& editor;
    QAction* undo;
    QAction* redo;
    QStatusBar* statusBar;
};

} // namespace rix
