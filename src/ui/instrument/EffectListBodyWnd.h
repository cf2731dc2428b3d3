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

    // The item at a list position, null while it is out of view.
    CEffectListItemWnd* Item(std::size_t position) const;

protected:
    std::vector<TListRow> ListRows(const CRixModuleChannel& instrument) const override;
    QWidget* CreateItem(const TListRow& row) override;
    void ReloadItem(QWidget* item) override;
};

} // namespace rix
