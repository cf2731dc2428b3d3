#include "OscillatorListItemWnd.h"

#include <QActionGroup>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <utility>

#include "ImageButton.h"
#include "InPlaceEdit.h"
#include "InstrumentItemPainter.h"
#include "InstrumentListGeometry.h"
#include "InstrumentPrompts.h"
#include "InstrumentValueText.h"
#include "ItemHeader.h"
#include "MouseGestures.h"
#include "OscillatorListBodyWnd.h"
#include "Theme.h"

namespace rix {

namespace {

constexpr int kWaveformCount = 4;
const char* const kWaveformNames[kWaveformCount] = {"sine", "saw", "square", "noise"};
const char* const kTypeMenuNames[kWaveformCount] = {"Sine", "Saw", "Square", "Noise"};
// The frequency-modulation switch's images, off and on.
constexpr int kFmOff[2] = {356, 357};
constexpr int kFmOn[2] = {358, 359};
constexpr int32_t kSemitone = 100;
// A wheel's notch, in eighths of a degree.
constexpr int kWheelNotch = 120;
constexpr qint64 kWheelTurnMs = 1000;

QString WaveformName(int32_t type)
{
    return type >= 0 && type < kWaveformCount ? QString::fromLatin1(kWaveformNames[type]) : QStringLiteral("?");
}

} // namespace

COscillatorListItemWnd::COscillatorListItemWnd(COscillatorListBodyWnd& body, CSongEditor& editor, int32_t channel,
                                               TOscillatorRef ref)
    : CMessageWidget(&body), body(body), editor(editor), channel(channel), ref(ref)
{
    const QString name = QStringLiteral("%1 %2").arg(ref.transition ? QStringLiteral("Transition oscillator")
                                                                     : QStringLiteral("Oscillator"))
                             .arg(ref.index + 1);
    setObjectName(name);
    setAccessibleName(name);
    resize(LIST_ITEM_WIDTH, OSCILLATOR_ITEM_HEIGHT);
    setToolTip(CMouseGestures::Tip(TMouseArea::Oscillator));
    if (!ref.transition) {
        header.Add(AddButton(QStringLiteral("Close"), QStringLiteral("Delete the oscillator"), 341, 342, 0, 0,
                             &COscillatorListItemWnd::OnClose));
        header.Add(AddButton(QStringLiteral("Down"), QStringLiteral("Move the oscillator down"), 347, 348, 0, 0,
                             &COscillatorListItemWnd::OnDown));
        header.Add(AddButton(QStringLiteral("Up"), QStringLiteral("Move the oscillator up"), 345, 346, 0, 0,
                             &COscillatorListItemWnd::OnUp));
        header.Add(AddButton(QStringLiteral("Copy"), QStringLiteral("Duplicate the oscillator"), ITEM_COPY_BITMAPS[0],
                             ITEM_COPY_BITMAPS[1], 0, 0, &COscillatorListItemWnd::OnCopy));
        header.Place(width());
        AddButton(QStringLiteral("fmBt"), QStringLiteral("Frequency modulation by a transition oscillator, on or off"),
                  kFmOff[0], kFmOff[1], 237, 36, &COscillatorListItemWnd::OnToggleFm);
        fmButton = findChild<CImageButton*>(QStringLiteral("fmBt"));
    }
    AddButton(QStringLiteral("TransEnv"), QStringLiteral("Edit the transition envelope"), 343, 344, 257, 36,
              &COscillatorListItemWnd::OnTransitionEnvelope);
    AddButton(QStringLiteral("VolEnv"), QStringLiteral("Edit the volume envelope"), 343, 344, 277, 36,
              &COscillatorListItemWnd::OnVolumeEnvelope);

    pitchBar = new QScrollBar(Qt::Vertical, this);
    pitchBar->setObjectName(QStringLiteral("Pitch scroll bar"));
    pitchBar->setAccessibleName(QStringLiteral("Pitch scroll bar"));
    pitchBar->setToolTip(QStringLiteral("Pitch: the upper arrow one semitone up, the lower one down; the wheel too"));
    pitchBar->setRange(0, 200);
    pitchBar->setGeometry(213, 5, 15, 23);
    connect(pitchBar, &QScrollBar::actionTriggered, this, &COscillatorListItemWnd::OnPitchBarAction);
    pitchBar->installEventFilter(this);

    pitchEdit = new CInPlaceEdit(this);
    pitchEdit->setObjectName(QStringLiteral("Pitch"));
    pitchEdit->setAccessibleName(QStringLiteral("Pitch"));
    pitchEdit->setToolTip(QStringLiteral("Type the pitch in semitones and cents (-12.50); Enter takes it"));
    pitchEdit->setMaxLength(8);
    pitchEdit->setGeometry(OSCILLATOR_PITCH_RECT.left - 2, OSCILLATOR_PITCH_RECT.top - 2, 44, 22);
    pitchEdit->hide();
    connect(pitchEdit, &QLineEdit::editingFinished, this, &COscillatorListItemWnd::CommitPitch);
    Reload();
}

COscillatorListItemWnd::~COscillatorListItemWnd()
{
    pitchEdit->disconnect(this);
}

CImageButton* COscillatorListItemWnd::AddButton(const QString& text, const QString& tip, int normalId, int pressedId,
                                                int x, int y, void (COscillatorListItemWnd::*handler)())
{
    auto* button = new CImageButton(text, normalId, pressedId, this);
    button->setToolTip(tip);
    button->setGeometry(x, y, ITEM_BUTTON_SIZE, ITEM_BUTTON_SIZE);
    connect(button, &CImageButton::clicked, this, handler);
    return button;
}

void COscillatorListItemWnd::resizeEvent(QResizeEvent*)
{
    header.Place(width());
}

CInstrumentEditor& COscillatorListItemWnd::Editor() const
{
    return editor.Instruments();
}

void COscillatorListItemWnd::Reload()
{
    const CRixModuleChannel& instrument = body.Instrument();
    const auto& list = ref.transition ? instrument.transitionOscillators : instrument.oscillators;
    if (ref.index < list.size())
        oscillator = list[ref.index];
    header.EnableMoves(ref.index, list.size());
    if (fmButton) {
        const int* images = oscillator.transition ? kFmOn : kFmOff;
        fmButton->SetImages(images[0], images[1]);
    }
    const QSignalBlocker blocker(pitchBar);
    pitchBar->setValue(ScrollPositionFromCents(oscillator.pitch));
    dirty = true;
    update();
}

void COscillatorListItemWnd::SetType(int32_t type)
{
    Editor().SetOscillatorType(channel, ref, type);
}

void COscillatorListItemWnd::OpenPitchEdit()
{
    pitchBar->hide();
    pitchEdit->setText(QString::fromStdString(FormatPitch(oscillator.pitch)));
    pitchEdit->show();
    pitchEdit->selectAll();
    pitchEdit->setFocus();
}

void COscillatorListItemWnd::CommitPitch()
{
    if (pitchEdit->isHidden())
        return;
    const int32_t pitch = ParsePitch(pitchEdit->text().toStdString());
    pitchEdit->hide();
    pitchBar->show();
    Editor().SetOscillatorPitch(channel, ref, pitch);
}

void COscillatorListItemWnd::OnPitchBarAction(int)
{
    // The action has moved the slider but not yet the value.
    const int32_t pitch = CentsFromScrollPosition(pitchBar->sliderPosition());
    const TEditStep step = pitchPressed ? std::exchange(pitchStep, TEditStep::Continue) : TEditStep::New;
    Editor().SetOscillatorPitch(channel, ref, pitch, step);
}

void COscillatorListItemWnd::StepPitchByWheel(const QWheelEvent& event)
{
    wheelDelta += event.angleDelta().y();
    const int notches = wheelDelta / kWheelNotch;
    if (notches == 0)
        return;
    wheelDelta -= notches * kWheelNotch;
    // The notches of one turn, each within kWheelTurnMs of the last, are
    // one undo step.
    const bool turning = wheelTurning.isValid() && wheelTurning.elapsed() < kWheelTurnMs;
    wheelTurning.start();
    const int64_t pitch = int64_t{oscillator.pitch} + int64_t{notches} * kSemitone;
    Editor().SetOscillatorPitch(channel, ref, static_cast<int32_t>(std::clamp<int64_t>(pitch, INT32_MIN, INT32_MAX)),
                                turning ? TEditStep::Continue : TEditStep::New);
}

void COscillatorListItemWnd::wheelEvent(QWheelEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (OSCILLATOR_PITCH_RECT.Contains(at.x(), at.y()))
        StepPitchByWheel(*event);
    else
        event->ignore();   // the list scrolls
}

bool COscillatorListItemWnd::eventFilter(QObject* watched, QEvent* event)
{
    // The wheel on the pitch bar steps as on the pitch, a semitone a notch.
    if (watched == pitchBar && event->type() == QEvent::Wheel) {
        StepPitchByWheel(*static_cast<QWheelEvent*>(event));
        return true;
    }
    // Everything one press of the pitch bar does (a thumb drag, a held
    // arrow's repeats) is one undo step.
    if (watched == pitchBar && event->type() == QEvent::MouseButtonPress) {
        pitchPressed = true;
        pitchStep = TEditStep::New;
    } else if (watched == pitchBar && event->type() == QEvent::MouseButtonRelease) {
        pitchPressed = false;
    }
    return CMessageWidget::eventFilter(watched, event);
}

intptr_t COscillatorListItemWnd::OnMessage(uint32_t message, uintptr_t, intptr_t)
{
    if (message == MSG_EDIT_END)
        CommitPitch();
    return 0;
}

void COscillatorListItemWnd::SetVolumeFromX(int x, TEditStep step)
{
    const int32_t volume = OscillatorVolumeFromX(x);
    if (step == TEditStep::Continue && volume == oscillator.volume)
        return;
    Editor().SetOscillatorVolume(channel, ref, volume, step);
}

void COscillatorListItemWnd::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::RightButton && OSCILLATOR_TYPE_RECT.Contains(at.x(), at.y())) {
        QMenu menu(this);
        auto* types = new QActionGroup(&menu);   // one of them, shown with a dot
        for (int type = 0; type < kWaveformCount; ++type) {
            QAction* item = types->addAction(menu.addAction(QString::fromLatin1(kTypeMenuNames[type])));
            item->setData(type);
            item->setCheckable(true);
            item->setChecked(type == oscillator.type);
        }
        if (QAction* chosen = CInstrumentPrompts::Get().Popup(menu, event->globalPosition().toPoint()))
            SetType(chosen->data().toInt());
    } else if (event->button() == Qt::LeftButton && OSCILLATOR_VOLUME_RECT.Contains(at.x(), at.y())) {
        volumeDragging = true;
        SetVolumeFromX(at.x(), TEditStep::New);
    } else if (event->button() == Qt::LeftButton && OSCILLATOR_PITCH_RECT.Contains(at.x(), at.y())) {
        OpenPitchEdit();
    }
}

void COscillatorListItemWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (volumeDragging)
        SetVolumeFromX(event->position().toPoint().x(), TEditStep::Continue);
}

void COscillatorListItemWnd::mouseReleaseEvent(QMouseEvent*)
{
    volumeDragging = false;
}

void COscillatorListItemWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // On the pitch a double click edits it, as a click does.
    const QPoint at = event->position().toPoint();
    if (OSCILLATOR_PITCH_RECT.Contains(at.x(), at.y())) {
        OpenPitchEdit();
        return;
    }
    const int32_t next = oscillator.type >= 0 && oscillator.type < kWaveformCount - 1 ? oscillator.type + 1 : 0;
    SetType(next);
}

void COscillatorListItemWnd::OpenEnvelope(bool transitionEnvelope)
{
    const auto list = ref.transition ? TEnvelopeAddress::TRANSITION_OSCILLATORS : TEnvelopeAddress::OSCILLATORS;
    CInstrumentPrompts::Get().EditEnvelope(this, editor, {channel, list, ref.index, transitionEnvelope ? 1 : 0});
}

void COscillatorListItemWnd::OnToggleFm()
{
    Editor().ToggleTransition(channel, ref.index);
}

void COscillatorListItemWnd::OnClose()
{
    Editor().RemoveOscillator(channel, ref.index);
}

void COscillatorListItemWnd::OnUp()
{
    if (ref.index > 0)
        Editor().SwapOscillators(channel, ref.index, ref.index - 1);
}

void COscillatorListItemWnd::OnDown()
{
    Editor().SwapOscillators(channel, ref.index, ref.index + 1);
}

void COscillatorListItemWnd::OnCopy()
{
    Editor().DuplicateOscillator(channel, ref.index);
}

void COscillatorListItemWnd::Render()
{
    const CTheme& theme = CTheme::Get();
    offscreen = NewItemImage(size(), devicePixelRatioF(), ItemBackground(ref.index, ref.transition));
    QPainter painter(&offscreen);
    DrawItemValue(painter, OSCILLATOR_TYPE_RECT.left, OSCILLATOR_TYPE_RECT.top, WaveformName(oscillator.type), 2);
    DrawItemLabel(painter, 110, 7, QStringLiteral("Transition:"));
    DrawItemValue(painter, OSCILLATOR_PITCH_RECT.left, 7, QString::fromStdString(FormatPitch(oscillator.pitch)));
    DrawItemLabel(painter, 9, 34, QStringLiteral("Volume:"));
    DrawItemValue(painter, 203, 34, QString::number(oscillator.volume));
    if (ref.transition)
        DrawItemLabel(painter, 70, 7, QStringLiteral("FM"), 2);
    // The volume bar: its track spans the press area less 4 px at each end,
    // which the clamped formula maps to 0 and 255.
    const QRect track(OSCILLATOR_VOLUME_RECT.left + 4, OSCILLATOR_VOLUME_RECT.top + 5, 128, 9);
    painter.fillRect(track, theme.Brush(21));
    const int filled = std::clamp(oscillator.volume, 0, 255) * track.width() / 255;
    painter.fillRect(track.x(), track.y(), filled, track.height(), theme.Brush(23));
    painter.setPen(theme.Pen(10));
    painter.drawRect(track.adjusted(0, 0, -1, -1));
    dirty = false;
}

void COscillatorListItemWnd::paintEvent(QPaintEvent*)
{
    // Also when the screen density or the theme scheme changed.
    if (key.Changed(devicePixelRatioF()) || dirty || !OffscreenFits(offscreen, size(), devicePixelRatioF()))
        Render();
    QPainter painter(this);
    painter.drawImage(0, 0, offscreen);
}

} // namespace rix
