#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

class QLabel;
class QStatusBar;

namespace rix {

class CExportForm;
class CPlaybackController;

// The status bar's figure of what the song costs an intro: the bytes of its
// exported tables, in the form the musician exports (CExportForm), and of
// the same bytes packed with LZMA. It follows edits by looking at the
// module's change counter twice a second and measures only when the counter
// or the form moved; the module is read-locked only while the tables are
// built, the packing runs after. UI thread.
class CExportSizeIndicator : public QObject {
    Q_OBJECT

public:
    CExportSizeIndicator(CPlaybackController& controller, const CExportForm& form, QStatusBar* statusBar);

    // Measures now if the song changed since the last time.
    void Update();
    QString Text() const;

private:
    CPlaybackController& controller;
    const CExportForm& form;
    QLabel* pane;
    QTimer timer;
    uint32_t measuredChangeCount = 0;
    bool measuredExact = false;
};

} // namespace rix
