#include "OscillatorListBodyWnd.h"

#include "InstrumentEditor.h"
#include "OscillatorListItemWnd.h"

namespace rix {

namespace {

constexpr int32_t kCarrier = 0;
constexpr int32_t kTransition = 1;

} // namespace

COscillatorListBodyWnd::COscillatorListBodyWnd(CSongEditor& editor, QWidget* parent)
    : CInstrumentListBodyWnd(parent), editor(editor)
{
    setObjectName(QStringLiteral("Oscillator list"));
    setAccessibleName(QStringLiteral("Oscillator list"));
}

COscillatorListItemWnd* COscillatorListBodyWnd::Item(std::size_t position) const
{
    return position < Items().size() ? static_cast<COscillatorListItemWnd*>(Items()[position]) : nullptr;
}

std::vector<int32_t> COscillatorListBodyWnd::ItemKinds() const
{
    const CRixModuleChannel instrument = editor.Instruments().ReadChannel(Channel());
    std::vector<int32_t> kinds;
    for (std::size_t i = 0; i < instrument.oscillators.size(); ++i) {
        kinds.push_back(kCarrier);
        if (instrument.oscillators[i].transition && i < instrument.transitionOscillators.size())
            kinds.push_back(kTransition);
    }
    return kinds;
}

std::vector<QWidget*> COscillatorListBodyWnd::CreateItems()
{
    const CRixModuleChannel instrument = editor.Instruments().ReadChannel(Channel());
    std::vector<QWidget*> items;
    for (std::size_t i = 0; i < instrument.oscillators.size(); ++i) {
        items.push_back(new COscillatorListItemWnd(*this, editor, Channel(), {i, false}));
        if (instrument.oscillators[i].transition && i < instrument.transitionOscillators.size())
            items.push_back(new COscillatorListItemWnd(*this, editor, Channel(), {i, true}));
    }
    return items;
}

void COscillatorListBodyWnd::ReloadItems()
{
    for (QWidget* item : Items())
        static_cast<COscillatorListItemWnd*>(item)->Reload();
}

} // namespace rix
