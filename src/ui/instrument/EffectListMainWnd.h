#pragma once

#include "InstrumentPanelWnd.h"

namespace rix {

class CEffectListBodyWnd;

// The effect panel: the shared tool row, whose "Add" opens the "Add effect"
// menu, and the effect list. UI thread only.
class CEffectListMainWnd : public CInstrumentPanelWnd {
    Q_OBJECT
public:
    // Command ids of the "Add effect" menu: Delay, Flange, Low-pass,
    // High-pass, Resonance, Overdrive (band-pass effects come from files).
    static constexpr int ADD_DELAY = 32808;
    static constexpr int ADD_FLANGE = 32809;
    static constexpr int ADD_RESONANCE = 32812;
    static constexpr int ADD_OVERDRIVE = 32813;
    static constexpr int ADD_LOWPASS = 32814;
    static constexpr int ADD_HIGHPASS = 32815;

    CEffectListMainWnd(CSongEditor& editor, QWidget* parent);

    CEffectListBodyWnd* List() const { return list; }
    void OnAddEffectCommand(int id);

protected:
    void OnAdd() override;
    void OnNew() override;

private:
    CEffectListBodyWnd* list = nullptr;
    QWidget* addButton = nullptr;
};

} // namespace rix
