#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

namespace rix {

// The pace at which the level panels (mixer, master, oscillator bar) read
// what is heard while the song plays: once per frame of the screen, at most
// 30 times a second, every panel in the same wake of the UI thread, so they
// are painted together. The playback thread only says when playback starts
// (the first level refresh) and ends, so nothing else wakes the UI thread
// for the meters. UI thread only.
class CLevelClock : public QObject {
    Q_OBJECT

public:
    static CLevelClock& Get();

    // Calls read at every tick from now on (once per panel); the clock runs
    // while any panel follows it.
    void Follow(QObject* panel, std::function<void()> read);
    void Leave(QObject* panel);

private:
    explicit CLevelClock(QObject* parent);
    void Tick();

    QTimer timer;
    std::vector<std::pair<QObject*, std::function<void()>>> readers;
};

} // namespace rix
