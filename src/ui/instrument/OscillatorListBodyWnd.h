#pragma once

#include "InstrumentListBodyWnd.h"

namespace rix {

class CInstrumentEditor;
class CPlaybackController;
class COscillatorListItemWnd;

// The oscillators of the channel shown, in play order, each carrier whose
// frequency modulation is on followed by the item of its transition
// oscillator. UI thread only.
class COscillatorListBodyWnd : public CInstrumentListBodyWnd {
    Q_OBJECT
public:
    COscillatorListBodyWnd(CPlaybackController& controller, CInstrumentEditor& editor, QWidget* parent);

    COscillatorListItemWnd* Item(std::size_t position) const;

protected:
    std::vector<QWidget*> CreateItems() override;

private:
    CPlaybackController& controller;
    CInstrumentEditor& editor;
};

} // namespace rix
