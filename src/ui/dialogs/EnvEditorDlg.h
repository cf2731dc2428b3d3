#pragma once

#include <QDialog>
#include <cstdint>

#include "PlaybackController.h"
#include "RixEnvelope.h"

namespace rix {

// The modal envelope editor: edits *envelope in place while it runs
// (exec()), under the song module's lock for each change; channel (0..7) is
// the one whose instrument "Test" sounds.
class CEnvEditorDlg : public QDialog {
    Q_OBJECT
public:
    CEnvEditorDlg(QWidget* parent, CPlaybackController& controller, TRixEnvelope* envelope, int32_t channel);

private:
    CPlaybackController& controller;
    TRixEnvelope* envelope;
    int32_t channel;
};

} // namespace rix
