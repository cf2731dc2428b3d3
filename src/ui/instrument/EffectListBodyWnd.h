#pragma once

#include "InstrumentListBodyWnd.h"

namespace rix {

class CEffectListItemWnd;
class CInstrumentEditor;
class CPlaybackController;

// The effect chain of the channel shown, one item per effect in chain
// order (an effect of an unknown type gets none). UI thread only.
class CEffectListBodyWnd : public CInstrumentListBodyWnd {
    Q_OBJECT
public:
    CEffectListBodyWnd(CPlaybackController& controller, CInstrumentEditor& editor, QWidget* parent);

    CEffectListItemWnd* Item(std::size_t position) const;
    // Shows the effect just appended to the chain below the last item,
    // leaving the others as they are.
    void AppendLastEffect();

protected:
    std::vector<QWidget*> CreateItems() override;

private:
    CPlaybackController& controller;
    CInstrumentEditor& editor;
};

} // namespace rix
