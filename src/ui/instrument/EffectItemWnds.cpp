#include "EffectItemWnds.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "InPlaceEdit.h"
#include "InstrumentItemPainter.h"
#include "InstrumentListGeometry.h"
#include "InstrumentValueText.h"
#include "SpinWnd.h"

namespace rix {

namespace {

// Envelope buttons stand at x 240 of their row, readouts at x 210.
constexpr int kEnvelopeX = 240;
constexpr int kReadoutX = 210;
// Readouts of the bars that start at x 60, just clear of the envelope
// buttons.
constexpr int kWideReadoutX = 218;
constexpr int kRowSkip = 1;
constexpr int kDelayRowTop = 3;
constexpr int kDelayBarTop = 30;
constexpr int kDelayReadoutX = 230;
// One spin step of the delay length: a row.
constexpr int32_t kLengthStep = 100;

} // namespace

CDelayEffectItemWnd::CDelayEffectItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                                         std::size_t index, const TRixEffect& effect)
    : CEffectListItemWnd(body, editor, channel, index, effect, QStringLiteral("Delay"))
{
    AddLabel(QStringLiteral("Length:"), 61, DELAY_LENGTH_RECT.top - kRowSkip);
    AddBar(QStringLiteral("Volume:"), 7, 60, kDelayBarTop, 2, kDelayReadoutX);
    lengthSpin = new CSpinWnd(this);
    lengthSpin->setObjectName(QStringLiteral("Length spin"));
    lengthSpin->setAccessibleName(QStringLiteral("Length spin"));
    lengthSpin->setToolTip(QStringLiteral("The delay length one row longer or shorter"));
    lengthSpin->setGeometry(140, kDelayRowTop, CSpinWnd::WIDTH, CSpinWnd::HEIGHT);
    lengthEdit = new CInPlaceEdit(this);
    lengthEdit->setObjectName(QStringLiteral("Length"));
    lengthEdit->setAccessibleName(QStringLiteral("Length"));
    lengthEdit->setToolTip(QStringLiteral("Type the delay length in rows (1.50); Enter takes it"));
    lengthEdit->setMaxLength(7);
    lengthEdit->setGeometry(100, 4, 50, 20);
    lengthEdit->hide();
    connect(lengthEdit, &QLineEdit::editingFinished, this, &CDelayEffectItemWnd::CommitLengthEdit);
}

CDelayEffectItemWnd::~CDelayEffectItemWnd()
{
    lengthEdit->disconnect(this);
}

void CDelayEffectItemWnd::OpenLengthEdit()
{
    lengthSpin->hide();
    lengthEdit->setText(QString::fromStdString(FormatDelayLength(Effect().param1)));
    lengthEdit->show();
    lengthEdit->selectAll();
    lengthEdit->setFocus();
}

void CDelayEffectItemWnd::CommitLengthEdit()
{
    if (lengthEdit->isHidden())
        return;
    lengthEdit->hide();
    lengthSpin->show();
    SetField(1, ParseDelayLength(lengthEdit->text().toStdString()));
}

intptr_t CDelayEffectItemWnd::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == MSG_EDIT_END) {
        CommitLengthEdit();
        return 0;
    }
    if (lParam == reinterpret_cast<intptr_t>(lengthSpin) && (message == MSG_SPIN_UP || message == MSG_SPIN_DOWN)) {
        const int32_t length = message == MSG_SPIN_UP ? std::min(Effect().param1 + kLengthStep, RIX_MAX_DELAY_LENGTH)
                                                      : std::max(Effect().param1 - kLengthStep, 0);
        SetField(1, length, StepOf(wParam));
        return 0;
    }
    return CEffectListItemWnd::OnMessage(message, wParam, lParam);
}

void CDelayEffectItemWnd::mousePressEvent(QMouseEvent* event)
{
    // A click anywhere in the item ends an open edit first.
    CommitLengthEdit();
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && DELAY_LENGTH_RECT.Contains(at.x(), at.y()))
        OpenLengthEdit();
}

void CDelayEffectItemWnd::RenderExtras(QPainter& painter)
{
    // A few pixels clear of "Length:", whose end nearly reaches the field.
    DrawItemValue(painter, DELAY_LENGTH_RECT.left + 6, DELAY_LENGTH_RECT.top - kRowSkip,
                  QString::fromStdString(FormatDelayLength(Effect().param1)));
}

CFlangeEffectItemWnd::CFlangeEffectItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                                           std::size_t index, const TRixEffect& effect)
    : CEffectListItemWnd(body, editor, channel, index, effect, QStringLiteral("Flange"))
{
    AddLabel(QStringLiteral("Delay envelope:"), 7, ROW1_TOP);
    AddEnvelopeButton(100, ROW1_TOP, 1);
}

CLowPassEffectItemWnd::CLowPassEffectItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                                             std::size_t index, const TRixEffect& effect)
    : CEffectListItemWnd(body, editor, channel, index, effect, QStringLiteral("Low-pass"))
{
    AddBar(QStringLiteral("Freq:"), 7, 40, ROW1_TOP, 1, kReadoutX);
    AddEnvelopeButton(kEnvelopeX, ROW1_TOP, 1);
}

CHighPassEffectItemWnd::CHighPassEffectItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                                               std::size_t index, const TRixEffect& effect)
    : CEffectListItemWnd(body, editor, channel, index, effect, QStringLiteral("High-pass"))
{
    AddBar(QStringLiteral("Freq:"), 7, 40, ROW1_TOP, 1, kReadoutX);
    AddEnvelopeButton(kEnvelopeX, ROW1_TOP, 1);
}

CResonanceEffectItemWnd::CResonanceEffectItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                                                 std::size_t index, const TRixEffect& effect)
    : CEffectListItemWnd(body, editor, channel, index, effect, QStringLiteral("Resonance"))
{
    AddBar(QStringLiteral("Cutoff:"), 7, 60, ROW1_TOP, 1, kWideReadoutX);
    AddEnvelopeButton(kEnvelopeX, ROW1_TOP, 1);
    AddBar(QStringLiteral("Amount:"), 7, 60, ROW2_TOP, 2, kWideReadoutX);
    AddEnvelopeButton(kEnvelopeX, ROW2_TOP, 2);
}

COverdriveEffectItemWnd::COverdriveEffectItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                                                 std::size_t index, const TRixEffect& effect)
    : CEffectListItemWnd(body, editor, channel, index, effect, QStringLiteral("Overdrive"))
{
    AddBar(QStringLiteral("Limit:"), 7, 40, ROW1_TOP, 1, kReadoutX);
    AddBar(QStringLiteral("Vol:"), 7, 40, ROW2_TOP, 2, kReadoutX);
    AddEnvelopeButton(kEnvelopeX, ROW2_TOP, 1);
}

CBandBassEffectItemWnd::CBandBassEffectItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                                               std::size_t index, const TRixEffect& effect)
    : CEffectListItemWnd(body, editor, channel, index, effect, QStringLiteral("Band-pass"))
{
    AddBar(QStringLiteral("Freq:"), 7, 40, ROW1_TOP, 1, kReadoutX);
    AddEnvelopeButton(kEnvelopeX, ROW1_TOP, 1);
    AddBar(QStringLiteral("Width:"), 7, 40, ROW2_TOP, 2, kReadoutX);
    AddEnvelopeButton(kEnvelopeX, ROW2_TOP, 2);
}

CEffectListItemWnd* CreateEffectItem(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
    std::size_t index, const TRixEffect& effect)
{
    switch (effect.type) {
    case RIXEFFECT_DELAY:
        return new CDelayEffectItemWnd(body, editor, channel, index, effect);
    case RIXEFFECT_FLANGE:
        return new CFlangeEffectItemWnd(body, editor, channel, index, effect);
    case RIXEFFECT_LOWPASS:
        return new CLowPassEffectItemWnd(body, editor, channel, index, effect);
    case RIXEFFECT_HIGHPASS:
        return new CHighPassEffectItemWnd(body, editor, channel, index, effect);
    case RIXEFFECT_RESONANCE:
        return new CResonanceEffectItemWnd(body, editor, channel, index, effect);
    case RIXEFFECT_OVERDRIVE:
        return new COverdriveEffectItemWnd(body, editor, channel, index, effect);
    case RIXEFFECT_BANDPASS:
        return new CBandBassEffectItemWnd(body, editor, channel, index, effect);
    default:
        return nullptr;
    }
}

} // namespace rix
