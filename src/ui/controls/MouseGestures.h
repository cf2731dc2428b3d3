#pragma once

#include <QString>
#include <span>

namespace rix {

// The windows whose mouse does more than a button's click.
enum class TMouseArea {
    OrderTable,
    Pattern,
    Mixer,
    OscillatorBar,
    Master,
    Tempo,
    SideTabs,
    InstrumentList,
    Oscillator,
    Transpose,
    Effect,
    ValueBar,
    Spin,
    InPlaceEdit,
};

// A gesture of a window and what it does, in words.
struct TMouseGesture {
    TMouseArea area;
    const char* gesture;
    const char* action;
};

// The editor's mouse gestures in words, one table: the windows' tooltips
// are made from it and Help > Keys and Mouse lists it, so both say the same.
class CMouseGestures {
public:
    static std::span<const TMouseGesture> All();
    // The window's name in the list of keys ("Pattern editor").
    static QString AreaName(TMouseArea area);
    // The area's gestures as one tooltip: "Click: mute · Right click: solo".
    static QString Tip(TMouseArea area);
};

} // namespace rix
