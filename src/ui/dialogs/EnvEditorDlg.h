#pragma once

#include <QDialog>
#include <cstdint>

#include "InstrumentEditor.h"
#include "RixEnvelope.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace rix {

class CEnvGraphWnd;
class CSongEditor;

// The modal "Envelope editor" on the envelope at an address of the song: it
// edits a copy and commits every change at once through the edit layer, so
// a playing song follows it; there is no cancel. Changes made one after the
// other with one control (typing a number, a trackbar drag) are one undo
// step. "Test" sounds the instrument of the address's channel. UI thread
// only; the caller must not hold the module lock.
class CEnvEditorDlg : public QDialog {
    Q_OBJECT
public:
    CEnvEditorDlg(QWidget* parent, CSongEditor& editor, const TEnvelopeAddress& address);

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
    // Samples per row at the song's tempo.
    int32_t RowLength() const;
    // Writes the copy into the song; control: the one that changed it (null
    // for a change that is a step of its own).
    void Commit(const QObject* control);

    void OnMinMaxEdited();
    void OnRowsEdited();
    void OnPhaseRowEdited(const TPhaseRow& row);
    void OnRowsTrackbar(int position);
    void OnPhaseRowTrackbar(const TPhaseRow& row, int position);
    void OnEnabledClicked(bool TRixEnvelope::*flag, bool checked);
    void OnResetModeChanged(int index);
    void OnReset();

    CSongEditor& editor;
    const TEnvelopeAddress address;
    TRixEnvelope envelope;
    // The control of the last change, whose further changes continue its
    // undo step.
    const QObject* lastControl = nullptr;
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
