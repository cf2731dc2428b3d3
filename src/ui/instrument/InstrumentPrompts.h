#pragma once

#include <QPoint>
#include <QString>
#include <cstdint>

class QAction;
class QMenu;
class QWidget;

namespace rix {

class CSongEditor;
struct TEnvelopeAddress;

// Everything the instrument editors do that waits for the user: questions,
// messages, file dialogs, popup menus and the envelope editor. The
// process-wide instance shows the real dialogs; tests install their own
// answers with Set, so nothing they run ever blocks. UI thread only.
class CInstrumentPrompts {
public:
    virtual ~CInstrumentPrompts() = default;

    // Yes/No question box captioned "SONRIX3" with the question icon.
    virtual bool Ask(QWidget* parent, const QString& question);
    // Error box captioned "Error".
    virtual void ShowError(QWidget* parent, const QString& text);
    // File dialogs for ".sonrixi" files; an empty path means cancelled.
    virtual QString OpenInstrumentPath(QWidget* parent);
    virtual QString SaveInstrumentPath(QWidget* parent);
    // Runs a popup menu at a global position; the chosen action or null.
    virtual QAction* Popup(QMenu& menu, const QPoint& position);
    // Runs the envelope editor modally on an envelope of the song.
    virtual void EditEnvelope(QWidget* parent, CSongEditor& editor, const TEnvelopeAddress& address);

    static CInstrumentPrompts& Get();
    // Installs prompts (not owned) in place of the real ones; null restores
    // the real ones.
    static void Set(CInstrumentPrompts* prompts);
};

} // namespace rix
