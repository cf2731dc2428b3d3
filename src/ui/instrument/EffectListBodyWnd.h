#pragma once

#include "InstrumentListBodyWnd.h"

namespace rix {

class CEffectListItemWnd;
class CSongEditor;

// The effect chain of the channel shown, one item per effect in chain
// order (an effect of an unknown type gets none). UI thread only.
class CEffectListBodyWnd : public CInstrumentListBodyWnd {
    Q_OBJECT
public:
    CEffectListBodyWnd(CSongEditor& editor, QWidget* parent);

    CEffectListItemWnd* Item(std::size_t position) const;

protected:
    std::vector<QWidget*> CreateItems() override;
    std::vector<int32_t> ItemKinds() const override;
    void ReloadItems() override;

private:
    CSongEditor& editor;
};

} // namespace rix
