#include "EffectListItemWnd.h"

#include <QMouseEvent>
#include <QPainter>

#include "EffectListBodyWnd.h"
#include "ImageButton.h"
#include "InstrumentEditor.h"
#include "InstrumentItemPainter.h"
#include "InstrumentListGeometry.h"
#include "InstrumentPrompts.h"
#include "ItemHeader.h"
#include "MouseGestures.h"
#include "VolumeBarWnd.h"

namespace rix {

namespace {

constexpr int kBarLength = 160;
constexpr int kBarHeight = 20;
constexpr int kTitleFont = 8;

} // namespace

CEffectListItemWnd::CEffectListItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                                       std::size_t index, const TRixEffect& effect, const QString& title)
    : CMessageWidget(&body), body(body), editor(editor), channel(channel), index(index), effect(effect), title(title)
{
    const QString name = QStringLiteral("%1 %2").arg(title).arg(index + 1);
    setObjectName(name);
    setAccessibleName(name);
    resize(LIST_ITEM_WIDTH, EffectItemHeight(effect.type));
    setToolTip(CMouseGestures::Tip(TMouseArea::Effect));
    // From the right edge leftwards.
    AddHeaderButton(QStringLiteral("Close"), QStringLiteral("Delete the effect"), 341, 342, &CEffectListItemWnd::OnClose);
    AddHeaderButton(QStringLiteral("Down"), QStringLiteral("Move the effect down the chain"), 347, 348,
                    &CEffectListItemWnd::OnDown);
    AddHeaderButton(QStringLiteral("Up"), QStringLiteral("Move the effect up the chain"), 345, 346,
                    &CEffectListItemWnd::OnUp);
    AddHeaderButton(QStringLiteral("Copy"), QStringLiteral("Duplicate the effect"), ITEM_COPY_BITMAPS[0],
                    ITEM_COPY_BITMAPS[1], &CEffectListItemWnd::OnCopy);
    header.EnableMoves(index, editor.Instruments().ReadChannel(channel).effects.size());
}

void CEffectListItemWnd::AddHeaderButton(const QString& text, const QString& tip, int normalId, int pressedId,
                                         void (CEffectListItemWnd::*handler)())
{
    auto* button = new CImageButton(text, normalId, pressedId, this);
    button->setToolTip(tip);
    connect(button, &CImageButton::clicked, this, handler);
    header.Add(button);
    header.Place(width());
}

void CEffectListItemWnd::resizeEvent(QResizeEvent*)
{
    header.Place(width());
}

void CEffectListItemWnd::AddBar(const QString& label, int labelX, int barX, int top, int field, int readoutX)
{
    auto* bar = new CVolumeBarWnd(label, ItemBackgroundBrush(index, false), this);
    bar->setGeometry(barX, top, kBarLength, kBarHeight);
    bar->SetValue(static_cast<float>(FieldValue(field)) / 255.0f);
    bars.push_back({bar, field, readoutX, top});
    AddLabel(label, labelX, top);
}

void CEffectListItemWnd::AddLabel(const QString& label, int x, int top)
{
    labels.push_back({label, x, top});
}

void CEffectListItemWnd::AddEnvelopeButton(int x, int top, int which)
{
    auto* button = new CImageButton(QStringLiteral("Envelope %1").arg(which), 343, 344, this);
    button->setToolTip(QStringLiteral("Edit the envelope that moves this row's value"));
    button->setGeometry(x, top, ITEM_BUTTON_SIZE, ITEM_BUTTON_SIZE);
    connect(button, &CImageButton::clicked, this, [this, which] { OpenEnvelope(which); });
}

CVolumeBarWnd* CEffectListItemWnd::Bar(int field) const
{
    for (const TBar& bar : bars)
        if (bar.field == field)
            return bar.bar;
    return nullptr;
}

QStringList CEffectListItemWnd::Labels() const
{
    QStringList texts;
    for (const TLabel& label : labels)
        texts << label.text;
    return texts;
}

void CEffectListItemWnd::SetField(int field, int32_t value, TEditStep step)
{
    editor.Instruments().SetEffectParameter(channel, index, field, value, step);
}

void CEffectListItemWnd::Reload()
{
    const CRixModuleChannel& instrument = body.Instrument();
    if (index < instrument.effects.size())
        effect = instrument.effects[index];
    header.EnableMoves(index, instrument.effects.size());
    for (const TBar& bar : bars)
        bar.bar->SetValue(static_cast<float>(FieldValue(bar.field)) / 255.0f);
    dirty = true;
    update();
}

intptr_t CEffectListItemWnd::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message != MSG_VOLUME_BAR)
        return 0;
    for (const TBar& bar : bars)
        if (lParam == reinterpret_cast<intptr_t>(bar.bar))
            SetField(bar.field, FieldFromBar(bar.bar->GetValue()), StepOf(wParam));
    return 0;
}

void CEffectListItemWnd::OpenEnvelope(int which)
{
    CInstrumentPrompts::Get().EditEnvelope(this, editor, {channel, TEnvelopeAddress::EFFECTS, index, which});
}

void CEffectListItemWnd::OnClose()
{
    editor.Instruments().RemoveEffect(channel, index);
}

void CEffectListItemWnd::OnUp()
{
    if (index > 0)
        editor.Instruments().SwapEffects(channel, index, index - 1);
}

void CEffectListItemWnd::OnDown()
{
    editor.Instruments().SwapEffects(channel, index, index + 1);
}

void CEffectListItemWnd::OnCopy()
{
    editor.Instruments().DuplicateEffect(channel, index);
}

void CEffectListItemWnd::Render()
{
    offscreen = NewItemImage(size(), devicePixelRatioF(), ItemBackground(index, false));
    QPainter painter(&offscreen);
    DrawItemLabel(painter, 7, 4, title, kTitleFont);
    for (const TLabel& label : labels)
        DrawItemLabel(painter, label.x, label.top, label.text);
    for (const TBar& bar : bars)
        DrawItemValue(painter, bar.readoutX, bar.top, QString::number(FieldValue(bar.field)));
    RenderExtras(painter);
    dirty = false;
}

void CEffectListItemWnd::paintEvent(QPaintEvent*)
{
    // Also when the screen density or the theme scheme changed.
    if (key.Changed(devicePixelRatioF()) || dirty || !OffscreenFits(offscreen, size(), devicePixelRatioF()))
        Render();
    QPainter painter(this);
    painter.drawImage(0, 0, offscreen);
}

} // namespace rix
