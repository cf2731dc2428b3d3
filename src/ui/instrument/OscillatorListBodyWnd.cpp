#include "OscillatorListBodyWnd.h"

#include "InstrumentEditor.h"
#include "OscillatorListItemWnd.h"

namespace rix {

COscillatorListBodyWnd::COscillatorListBodyWnd(CPlaybackController& controller, CInstrumentEditor& editor,
                                               QWidget* parent)
    : CInstrumentListBodyWnd(parent), controller(controller), editor(editor)
{
    setObjectName(QStringLiteral("Oscillator list"));
    setAccessibleName(QStringLiteral("Oscillator list"));
}

COscillatorListItemWnd* COscillatorListBodyWnd::Item(std::size_t position) const
{
    return position < Items().size() ? static_cast<COscillatorListItemWnd*>(Items()[position]) : nullptr;
}

std::vector<QWidget*> COscillatorListBodyWnd::CreateItems()
{
    const CRixModuleChannel instrument = editor.ReadChannel(Channel());
    std::vector<QWidget*> items;
    for (std::size_t i = 0; i < instrument.oscillators.size(); ++i) {
        items.push_back(new COscillatorListItemWnd(*this, controller, editor, Channel(), {i, false}));
        if (instrument.oscillators[i].transition && i < instrument.transitionOscillators.size())
            items.push_back(new COscillatorListItemWnd(*this, controller, editor, Channel(), {i, true}));
    }
    return items;
}

} // namespace rix
