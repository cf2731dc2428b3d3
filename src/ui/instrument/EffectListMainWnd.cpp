#include "EffectListMainWnd.h"

#include <QMenu>

#include "EffectListBodyWnd.h"
#include "ImageButton.h"
#include "InstrumentEditor.h"
#include "InstrumentPrompts.h"

namespace rix {

namespace {

struct TAddCommand {
    const char* text;
    int id;
    int32_t type;
};

constexpr TAddCommand kAddCommands[] = {
    {"Delay", CEffectListMainWnd::ADD_DELAY, RIXEFFECT_DELAY},
    {"Flange", CEffectListMainWnd::ADD_FLANGE, RIXEFFECT_FLANGE},
    {"Low-pass", CEffectListMainWnd::ADD_LOWPASS, RIXEFFECT_LOWPASS},
    {"High-pass", CEffectListMainWnd::ADD_HIGHPASS, RIXEFFECT_HIGHPASS},
    {"Resonance", CEffectListMainWnd::ADD_RESONANCE, RIXEFFECT_RESONANCE},
    {"Overdrive", CEffectListMainWnd::ADD_OVERDRIVE, RIXEFFECT_OVERDRIVE},
};

} // namespace

CEffectListMainWnd::CEffectListMainWnd(CSongEditor& editor, QWidget* parent)
    : CInstrumentPanelWnd(editor, parent)
{
    addButton = findChild<CImageButton*>(QStringLiteral("Add"));
    addButton->setToolTip(QStringLiteral("Add an effect"));
    findChild<CImageButton*>(QStringLiteral("New"))->setToolTip(QStringLiteral("Delete all effects"));
    setToolTip(QStringLiteral("The channel's effects, applied from top to bottom"));
    list = new CEffectListBodyWnd(editor, this);
    SetBody(list);
}

void CEffectListMainWnd::OnAdd()
{
    QMenu menu(this);
    menu.setTitle(QStringLiteral("Add effect"));
    for (const TAddCommand& command : kAddCommands)
        menu.addAction(QString::fromLatin1(command.text))->setData(command.id);
    if (QAction* chosen = PopupBelow(menu, addButton))
        OnAddEffectCommand(chosen->data().toInt());
}

void CEffectListMainWnd::OnAddEffectCommand(int id)
{
    for (const TAddCommand& command : kAddCommands) {
        if (command.id == id) {
            Editor().AddEffect(Channel(), command.type);
        }
    }
}

void CEffectListMainWnd::OnNew()
{
    if (!CInstrumentPrompts::Get().Ask(this, QStringLiteral("Do you want to delete all the effects in this channel?")))
        return;
    Editor().ClearEffects(Channel());
}

} // namespace rix
