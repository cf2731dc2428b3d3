#pragma once

#include <cstdint>
#include <span>

class QKeyEvent;

namespace rix {

// The note keys of the pattern editor. They are two rows of keys named by a
// US keyboard (Z S X D C V G B H N J M, then Q 2 W 3 E R 5 T 6 Y 7 U I 9 O 0
// P) but found by their place on the keyboard, whatever the layout: an
// AZERTY or QWERTZ user plays the same notes from the same keys. The key
// left of Z on 102-key keyboards and Caps Lock enter the stop note.
class CNoteKeys {
public:
    // What a key enters: the offset 1..29 above the octave's base, the stop
    // note, or nothing.
    static constexpr int NO_NOTE = 0;
    static constexpr int STOP_NOTE = -1;

    struct TNoteKey {
        uint32_t evdev;  // its place: KEY_* of linux/input-event-codes.h
        int qtKey;       // the key a US layout gives there
        int offset;      // 1..29, or STOP_NOTE
    };
    // The note keys, lower row first, then the stop-note keys: the table
    // the keys are run from.
    static std::span<const TNoteKey> Keys();

    // Decided by the X keycode (evdev code + 8, as both X11 and Wayland
    // report it) when the event carries one; events without a keycode
    // (synthesised ones) fall back to the Qt key, which depends on the
    // layout. Ctrl or Alt held make no note.
    static int OffsetOf(const QKeyEvent& event);
    static int OffsetFromScanCode(uint32_t keycode);
    static int OffsetFromKey(int qtKey);

    // The cell value of a note key in an octave 1..8.
    static uint32_t CellValue(int32_t octave, int offset) { return uint32_t((octave - 1) * 12 + offset); }
    // The cell value of a MIDI note 12 k + s: octave k - 1, semitone s (MIDI
    // 60 is C-4, value 49); 0 for notes outside the keyboard's 1..113.
    static uint32_t CellFromMidiNote(int midiNote);
};

} // namespace rix
