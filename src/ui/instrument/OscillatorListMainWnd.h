#pragma once

#include "InstrumentPanelWnd.h"

class QScrollBar;

namespace rix {

class CImageButton;
class CInPlaceEdit;
class COscillatorListBodyWnd;
class CSpinWnd;

// The oscillator panel: the shared tool row plus "Trans", which shows or
// hides the "Transpose all:" row (amount in cents: a scroll bar of whole
// semitones, a spin of ±1 semitone, an in-place edit on a click on the
// amount, "OK" to apply it to every oscillator of the channel), and the
// oscillator list. UI thread only.
class COscillatorListMainWnd : public CInstrumentPanelWnd {
    Q_OBJECT
public:
    COscillatorListMainWnd(CSongEditor& editor, QWidget* parent);
    ~COscillatorListMainWnd() override;

    COscillatorListBodyWnd* List() const { return list; }
    bool IsTransposeShown() const { return transposeShown; }
    void ToggleTranspose();
    void ApplyTranspose();
    void OpenAmountEdit();
    CInPlaceEdit* AmountEdit() const { return amountEdit; }

protected:
    void OnAdd() override;
    void OnNew() override;
    int BodyTop() const override;
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void SetAmount(int32_t cents);
    void CommitAmountEdit();

    COscillatorListBodyWnd* list = nullptr;
    bool transposeShown = false;
    int32_t transposeAmount = 0;
    QScrollBar* amountBar = nullptr;
    CSpinWnd* amountSpin = nullptr;
    CImageButton* okButton = nullptr;
    CInPlaceEdit* amountEdit = nullptr;
};

} // namespace rix
