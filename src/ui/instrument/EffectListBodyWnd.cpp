#include "EffectListBodyWnd.h"

#include "EffectItemWnds.h"
#include "InstrumentEditor.h"

namespace rix {

CEffectListBodyWnd::CEffectListBodyWnd(CSongEditor& editor, QWidget* parent)
    : CInstrumentListBodyWnd(editor, parent)
{
    setObjectName(QStringLiteral("Effect list"));
    setAccessibleName(QStringLiteral("Effect list"));
}

CEffectListItemWnd* CEffectListBodyWnd::Item(std::size_t position) const
{
    return static_cast<CEffectListItemWnd*>(ItemWindow(position));
}

std::vector<TListRow> CEffectListBodyWnd::ListRows(const CRixModuleChannel& instrument) const
{
    std::vector<TListRow> rows;
    rows.reserve(instrument.effects.size());
    for (std::size_t i = 0; i < instrument.effects.size(); ++i) {
        const int32_t type = instrument.effects[i].type;
        if (EffectItemHeight(type) > 0)
            rows.push_back({i, type, EffectItemHeight(type)});
    }
    return rows;
}

QWidget* CEffectListBodyWnd::CreateItem(const TListRow& row)
{
    return CreateEffectItem(*this, Editor(), Channel(), row.index, Instrument().effects[row.index]);
}

void CEffectListBodyWnd::ReloadItem(QWidget* item)
{
    static_cast<CEffectListItemWnd*>(item)->Reload();
}

} // namespace rix
