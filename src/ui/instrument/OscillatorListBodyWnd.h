#pragma once

#include "InstrumentListBodyWnd.h"

namespace rix {

class COscillatorListItemWnd;
class CSongEditor;

// The oscillators of the channel shown, in play order, each carrier whose
// frequency modulation is on followed by the item of its transition
// oscillator. UI thread only.
class COscillatorListBodyWnd : public CInstrumentListBodyWnd {
    Q_OBJECT
public:
    COscillatorListBodyWnd(CSongEditor& editor, QWidget* parent);

    COscillatorListItemWnd* Item(std::size_t position) const;

protected:
    std::vector<QWidget*> CreateItems() override;
    std::vector<int32_t> ItemKinds() const override;
    void ReloadItems() override;

private:
    CSongEditor& editor;
};

} // namespace rix
