#include "OscillatorListBodyWnd.h"

#include "InstrumentEditor.h"
#include "OscillatorListItemWnd.h"

namespace rix {

namespace {

constexpr int32_t kCarrier = 0;
constexpr int32_t kTransition = 1;

} // namespace

COscillatorListBodyWnd::COscillatorListBodyWnd(CSongEditor& editor, QWidget* parent)
    : CInstrumentListBodyWnd(editor, parent)
{
    setObjectName(QStringLiteral("Oscillator list"));
    setAccessibleName(QStringLiteral("Oscillator list"));
}

COscillatorListItemWnd* COscillatorListBodyWnd::Item(std::size_t position) const
{
    return static_cast<COscillatorListItemWnd*>(ItemWindow(position));
}

std::vector<TListRow> COscillatorListBodyWnd::ListRows(const CRixModuleChannel& instrument) const
{
    std::vector<TListRow> rows;
    rows.reserve(instrument.oscillators.size());
    for (std::size_t i = 0; i < instrument.oscillators.size(); ++i) {
        rows.push_back({i, kCarrier, OSCILLATOR_ITEM_HEIGHT});
        if (instrument.oscillators[i].transition && i < instrument.transitionOscillators.size())
            rows.push_back({i, kTransition, OSCILLATOR_ITEM_HEIGHT});
    }
    return rows;
}

QWidget* COscillatorListBodyWnd::CreateItem(const TListRow& row)
{
    return new COscillatorListItemWnd(*this, Editor(), Channel(), {row.index, row.kind == kTransition});
}

void COscillatorListBodyWnd::ReloadItem(QWidget* item)
{
    static_cast<COscillatorListItemWnd*>(item)->Reload();
}

} // namespace rix
