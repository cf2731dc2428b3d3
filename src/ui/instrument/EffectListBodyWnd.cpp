#include "EffectListBodyWnd.h"

#include "EffectItemWnds.h"
#include "InstrumentEditor.h"

namespace rix {

CEffectListBodyWnd::CEffectListBodyWnd(CPlaybackController& controller, CInstrumentEditor& editor, QWidget* parent)
    : CInstrumentListBodyWnd(parent), controller(controller), editor(editor)
{
    setObjectName(QStringLiteral("Effect list"));
    setAccessibleName(QStringLiteral("Effect list"));
}

CEffectListItemWnd* CEffectListBodyWnd::Item(std::size_t position) const
{
    return position < Items().size() ? static_cast<CEffectListItemWnd*>(Items()[position]) : nullptr;
}

void CEffectListBodyWnd::AppendLastEffect()
{
    const CRixModuleChannel instrument = editor.ReadChannel(Channel());
    if (instrument.effects.empty())
        return;
    const std::size_t index = instrument.effects.size() - 1;
    if (CEffectListItemWnd* item =
            CreateEffectItem(*this, controller, editor, Channel(), index, instrument.effects[index]))
        AppendItem(item);
}

std::vector<QWidget*> CEffectListBodyWnd::CreateItems()
{
    const CRixModuleChannel instrument = editor.ReadChannel(Channel());
    std::vector<QWidget*> items;
    for (std::size_t i = 0; i < instrument.effects.size(); ++i)
        if (CEffectListItemWnd* item = CreateEffectItem(*this, controller, editor, Channel(), i, instrument.effects[i]))
            items.push_back(item);
    return items;
}

} // namespace rix
