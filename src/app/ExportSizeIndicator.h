#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

#include "SongSizeWorker.h"

class QLabel;
class QStatusBar;

namespace rix {

class CExportForm;
class CPlaybackController;

// The status bar's figure of what the song costs an intro: the bytes of its
// exported tables, in the form the musician exports (CExportForm), and of
// the same bytes packed with LZMA. It follows edits by looking at the
// module's change counter twice a second and measures only when the counter
// or the form moved: the module is read-locked only while the song is
// copied, and the tables are built and packed on a worker (0.1 ms to 20 ms
// for a usual song, most of a second for one of 50,000 oscillators), so
// typing never waits for the figure. UI thread.
class CExportSizeIndicator : public QObject {
    Q_OBJECT

public:
    CExportSizeIndicator(CPlaybackController& controller, const CExportForm& form, QStatusBar* statusBar);

    // Asks for a new figure if the song changed since the last time; the
    // pane shows it when the worker is done.
    void Update();
    QString Text() const;

private:
    CPlaybackController& controller;
    const CExportForm& form;
    QLabel* pane;
    QTimer timer;
    uint32_t measuredChangeCount = 0;
    bool measuredExact = false;
    bool measured = false;
    uint64_t latestSerial = 0;
    CSongSizeWorker worker;
};

} // namespace rix
