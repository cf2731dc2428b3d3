#pragma once

#include <QDialog>
#include <cstdint>

#include "PlaybackController.h"
#include "RixEnvelope.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace rix {

class CEnvGraphWnd;

// The modal "Envelope editor": edits *envelope, which lies in the song
// module's data, in place while it runs (exec()). Every change is written at
// once under the module's write lock, so a playing song follows it; there is
// no cancel. channel (0..7) is the one whose instrument "Test" sounds.
// UI thread only; the caller must not hold the module lock.
class CEnvEditorDlg : public QDialog {
    Q_OBJECT
public:
    CEnvEditorDlg(QWidget* parent, CPlaybackController& controller, TRixEnvelope* envelope, int32_t channel);

    // The envelope after "Reset".
    static TRixEnvelope ResetEnvelope() { return {0, 256, 6564, RIXRESET_NOTE, 16384, 0, 0, true, false}; }

private:
    // One row of the phase, keep and sustain controls: an edit and a
    // trackbar in steps of 2048 phase units.
    struct TPhaseRow {
        int32_t TRixEnvelope::*member;
        QLineEdit* edit;
        QSlider* trackbar;
    };

    void CreateControls();
    // Writes every control from the envelope (opening and Reset).
    void Fill();
    // The rows per cycle (into its edit too when withEdit) and the speed line.
    void ShowSpeed(bool withEdit);
    void Redraw();

    void OnMinMaxEdited();
    void OnRowsEdited();
    void OnPhaseRowEdited(const TPhaseRow& row);
    void OnRowsTrackbar(int position);
    void OnPhaseRowTrackbar(const TPhaseRow& row, int position);
    void OnEnabledClicked(bool TRixEnvelope::*flag, bool checked);
    void OnResetModeChanged(int index);
    void OnReset();

    CPlaybackController& controller;
    TRixEnvelope* envelope;
    int32_t channel;
    // Set while the dialog writes its own controls, so their change
    // handlers do not write back.
    bool updating = false;

    CEnvGraphWnd* graph = nullptr;
    QLineEdit* maxEdit = nullptr;
    QLineEdit* minEdit = nullptr;
    QLineEdit* rowsEdit = nullptr;
    QSlider* rowsTrackbar = nullptr;
    QLabel* speedLine = nullptr;
    QCheckBox* keepEnabled = nullptr;
    QCheckBox* sustainEnabled = nullptr;
    TPhaseRow phaseRow{};
    TPhaseRow keepRow{};
    TPhaseRow sustainRow{};
    QComboBox* resetList = nullptr;
};

} // namespace rix
