#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <cstdint>

#include "EditStep.h"
#include "InstrumentEditor.h"
#include "ItemHeader.h"
#include "MessageWidget.h"
#include "Offscreen.h"
#include "RixOscillator.h"

class QScrollBar;

namespace rix {

class CImageButton;
class CInPlaceEdit;
class COscillatorListBodyWnd;
class CSongEditor;

// One oscillator of the list: its waveform (right click: the "Type" menu,
// double click: the next one), its pitch (an in-place edit on a click or
// double click, a scroll bar of whole semitones whose upper arrow raises
// it, the wheel a semitone a notch), its volume bar (pressed or dragged), the
// envelope buttons and, for a carrier, the frequency-modulation switch and
// the buttons that delete, move and duplicate it. The item of a transition
// oscillator has neither. A volume drag, a press of the pitch bar (its
// thumb dragged, an arrow held) or one turn of the wheel is one undo step.
// Draws from an off-screen image redrawn when the oscillator changed. UI
// thread only.
class COscillatorListItemWnd : public CMessageWidget {
    Q_OBJECT
public:
    COscillatorListItemWnd(COscillatorListBodyWnd& body, CSongEditor& editor, int32_t channel, TOscillatorRef ref);
    // The pitch edit reports no focus loss to a half-destroyed item.
    ~COscillatorListItemWnd() override;

    TOscillatorRef Ref() const { return ref; }
    // The oscillator as last read from the module.
    const TRixOscillator& Oscillator() const { return oscillator; }

    // The item's commands, as its buttons and menus give them.
    void SetType(int32_t type);
    void OpenPitchEdit();
    CInPlaceEdit* PitchEdit() const { return pitchEdit; }
    QScrollBar* PitchScrollBar() const { return pitchBar; }
    // Re-reads the oscillator from the list's copy of the channel and redraws.
    void Reload();

protected:
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CInstrumentEditor& Editor() const;
    void Render();
    void CommitPitch();
    void OnPitchBarAction(int action);
    void StepPitchByWheel(const QWheelEvent& event);
    void SetVolumeFromX(int x, TEditStep step);
    void OpenEnvelope(bool transitionEnvelope);
    CImageButton* AddButton(const QString& text, const QString& tip, int normalId, int pressedId, int x, int y,
                            void (COscillatorListItemWnd::*handler)());
    void OnToggleFm();
    void OnClose();
    void OnUp();
    void OnDown();
    void OnCopy();
    void OnTransitionEnvelope() { OpenEnvelope(true); }
    void OnVolumeEnvelope() { OpenEnvelope(false); }

    const COscillatorListBodyWnd& body;
    CSongEditor& editor;
    int32_t channel;
    TOscillatorRef ref;
    TRixOscillator oscillator;
    CImageButton* fmButton = nullptr;
    CItemHeader header;
    CInPlaceEdit* pitchEdit = nullptr;
    QScrollBar* pitchBar = nullptr;
    // The pitch bar is pressed; its next change is pitchStep.
    bool pitchPressed = false;
    TEditStep pitchStep = TEditStep::New;
    bool volumeDragging = false;
    // The wheel's turn: eighths of degrees not yet a notch, and the time of
    // its last notch.
    int wheelDelta = 0;
    QElapsedTimer wheelTurning;
    QImage offscreen;
    COffscreenKey key;
    bool dirty = true;
};

} // namespace rix
