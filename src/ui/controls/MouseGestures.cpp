#include "MouseGestures.h"

#include <QStringList>

namespace rix {

namespace {

using A = TMouseArea;

constexpr TMouseGesture kGestures[] = {
    {A::OrderTable, "Click", "move the cursor"},
    {A::OrderTable, "Drag", "select"},
    {A::OrderTable, "Drag a selected block", "move it"},
    {A::OrderTable, "Right click", "Edit menu"},
    {A::OrderTable, "Wheel", "scroll"},
    {A::Pattern, "Click", "move the cursor"},
    {A::Pattern, "Drag", "select"},
    {A::Pattern, "Drag a selected block", "move it"},
    {A::Pattern, "Right click", "Edit menu"},
    {A::Mixer, "Click or drag a fader", "the channel's volume"},
    {A::OscillatorBar, "Click", "mute"},
    {A::OscillatorBar, "Right click", "solo"},
    {A::Master, "Click or drag", "the master volume"},
    {A::Tempo, "Click the number", "type the tempo"},
    {A::SideTabs, "Click a tab", "the oscillators or the effects"},
    {A::InstrumentList, "Wheel", "scroll the list"},
    {A::Oscillator, "Right click the waveform", "choose the waveform"},
    {A::Oscillator, "Double click", "the next waveform"},
    {A::Oscillator, "Click or double click the pitch", "type the pitch"},
    {A::Oscillator, "Pitch arrows, or the wheel on the pitch", "one semitone up or down"},
    {A::Oscillator, "Click or drag the volume bar", "the volume"},
    {A::Transpose, "Click the amount", "type it"},
    {A::Transpose, "Arrows", "one semitone up or down"},
    {A::Effect, "Drag a bar", "its value"},
    {A::Effect, "Click the delay length", "type it"},
    {A::ValueBar, "Click or drag", "set the value"},
    {A::Spin, "Press, or hold", "one step up or down, repeated"},
    {A::InPlaceEdit, "Enter, Esc or a click elsewhere", "take the typed value"},
};

} // namespace

std::span<const TMouseGesture> CMouseGestures::All()
{
    return kGestures;
}

QString CMouseGestures::AreaName(TMouseArea area)
{
    switch (area) {
    case A::OrderTable: return QStringLiteral("Order table");
    case A::Pattern: return QStringLiteral("Pattern editor");
    case A::Mixer: return QStringLiteral("Mixer");
    case A::OscillatorBar: return QStringLiteral("Scopes");
    case A::Master: return QStringLiteral("Master volume");
    case A::Tempo: return QStringLiteral("Tempo");
    case A::SideTabs: return QStringLiteral("Instrument panel");
    case A::InstrumentList: return QStringLiteral("Instrument panel");
    case A::Oscillator: return QStringLiteral("Oscillator");
    case A::Transpose: return QStringLiteral("Transpose all");
    case A::Effect: return QStringLiteral("Effect");
    case A::ValueBar: return QStringLiteral("Value bars");
    case A::Spin: return QStringLiteral("Arrow buttons");
    case A::InPlaceEdit: return QStringLiteral("Value edits");
    }
    return {};
}

QString CMouseGestures::Tip(TMouseArea area)
{
    QStringList parts;
    for (const TMouseGesture& gesture : kGestures)
        if (gesture.area == area)
            parts << QStringLiteral("%1: %2").arg(QString::fromLatin1(gesture.gesture),
                                                  QString::fromLatin1(gesture.action));
    return parts.join(QStringLiteral(" · "));
}

} // namespace rix
