#include "UndoCommands.h"

#include <QAction>
#include <QStatusBar>

#include "PlaybackController.h"
#include "SongEditor.h"

namespace rix {

namespace {

constexpr int kMessageMs = 5000;

} // namespace

CUndoCommands::CUndoCommands(CSongEditor& editor, QAction* undo, QAction* redo, QStatusBar* statusBar,
                             QObject* parent)
    : QObject(parent), editor(editor), undo(undo), redo(redo), statusBar(statusBar)
{
    connect(undo, &QAction::triggered, this, &CUndoCommands::Undo);
    connect(redo, &QAction::triggered, this, &CUndoCommands::Redo);
    editor.Controller().AddListener(this);
    Update();
}

CUndoCommands::~CUndoCommands()
{
    editor.Controller().RemoveListener(this);
}

void CUndoCommands::Undo()
{
    const QString name = QString::fromStdString(editor.Undo());
    Update();
    if (!name.isEmpty())
        statusBar->showMessage(tr("Undone: %1").arg(name), kMessageMs);
}

void CUndoCommands::Redo()
{
    const QString name = QString::fromStdString(editor.Redo());
    Update();
    if (!name.isEmpty())
        statusBar->showMessage(tr("Redone: %1").arg(name), kMessageMs);
}

void CUndoCommands::Update()
{
    const QString undoName = QString::fromStdString(editor.UndoName());
    const QString redoName = QString::fromStdString(editor.RedoName());
    undo->setText(undoName.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(undoName));
    undo->setEnabled(!undoName.isEmpty());
    redo->setText(redoName.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(redoName));
    redo->setEnabled(!redoName.isEmpty());
}

} // namespace rix
