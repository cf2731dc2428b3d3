#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

class QLabel;
class QStatusBar;

namespace rix {

class CPlaybackController;

// The status bar's figure of what the song costs an intro: the bytes of its
// exported tables and of the same bytes packed with LZMA. It follows edits
// by looking at the module's change counter twice a second and measures only
// when the counter moved; the module is read-locked only while the tables
// are built, the packing runs after. UI thread.
class CExportSizeIndicator : public QObject {
    Q_OBJECT

public:
    CExportSizeIndicator(CPlaybackController& controller, QStatusBar* statusBar);

    // Measures now if the song changed since the last time.
    void Update();
    QString Text() const;

private:
    CPlaybackController& controller;
    QLabel* pane;
    QTimer timer;
    uint32_t measuredChangeCount = 0;
};

} // namespace rix
