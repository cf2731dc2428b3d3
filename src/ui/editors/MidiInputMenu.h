#pragma once

#include <QMenu>
#include <QTimer>

#include "MidiInput.h"

namespace rix {

// View > "MIDI input": "None" and the MIDI input ports by name, listed
// afresh whenever the menu opens. The chosen port's notes go to the pattern
// editor; the choice is kept in the settings and taken up again at the next
// start when the port is there. A port that disappears is closed quietly.
class CMidiInputMenu : public QMenu {
    Q_OBJECT
public:
    // target: the window the notes go to (the pattern editor), or null.
    CMidiInputMenu(QObject* target, QWidget* parent);

    static constexpr const char* SETTINGS_KEY = "MidiInput";

private:
    void Rebuild();
    void Choose(const QString& port);

    CMidiInput input;
    // Looks for a vanished port while one is open.
    QTimer watch;
};

} // namespace rix
