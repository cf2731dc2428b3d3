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

    // The item at a list position, null while it is out of view.
    COscillatorListItemWnd* Item(std::size_t position) const;

protected:
    std::vector<TListRow> ListRows(const CRixModuleChannel& instrument) const override;
    QWidget* CreateItem(const TListRow& row) override;
    void ReloadItem(QWidget* item) override;
};

} // namespace rix
