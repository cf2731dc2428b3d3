#include "EffectListBodyWnd.h"

#include "EffectItemWnds.h"
#include "InstrumentEditor.h"

namespace rix {

CEffectListBodyWnd::CEffectListBodyWnd(CSongEditor& editor, QWidget* parent)
    : CInstrumentListBodyWnd(parent), editor(editor)
{
    setObjectName(QStringLiteral("Effect list"));
    setAccessibleName(QStringLiteral("Effect list"));
}

CEffectListItemWnd* CEffectListBodyWnd::Item(std::size_t position) const
{
    return position < Items().size() ? static_cast<CEffectListItemWnd*>(Items()[position]) : nullptr;
}

std::vector<int32_t> CEffectListBodyWnd::ItemKinds() const
{
    std::vector<int32_t> types;
    for (const TRixEffect& effect : editor.Instruments().ReadChannel(Channel()).effects)
        types.push_back(effect.type);
    return types;
}

std::vector<QWidget*> CEffectListBodyWnd::CreateItems()
{
    const CRixModuleChannel instrument = editor.Instruments().ReadChannel(Channel());
    std::vector<QWidget*> items;
    for (std::size_t i = 0; i < instrument.effects.size(); ++i)
        if (CEffectListItemWnd* item = CreateEffectItem(*this, editor, Channel(), i, instrument.effects[i]))
            items.push_back(item);
    return items;
}

void CEffectListBodyWnd::ReloadItems()
{
    for (QWidget* item : Items())
        static_cast<CEffectListItemWnd*>(item)->Reload();
}

} // namespace rix
