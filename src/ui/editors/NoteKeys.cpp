#include "NoteKeys.h"

#include <QKeyEvent>
#include <array>

namespace rix {

namespace {

// X keycodes are Linux evdev codes + 8.
constexpr uint32_t kEvdevOffset = 8;

using TNoteKey = CNoteKeys::TNoteKey;

// The two rows of note keys, lower row first, and the stop-note keys.
constexpr std::array<TNoteKey, 31> kNoteKeys = {{
    {44, Qt::Key_Z, 1},  {31, Qt::Key_S, 2},  {45, Qt::Key_X, 3},  {32, Qt::Key_D, 4},
    {46, Qt::Key_C, 5},  {47, Qt::Key_V, 6},  {34, Qt::Key_G, 7},  {48, Qt::Key_B, 8},
    {35, Qt::Key_H, 9},  {49, Qt::Key_N, 10}, {36, Qt::Key_J, 11}, {50, Qt::Key_M, 12},
    {16, Qt::Key_Q, 13}, {3, Qt::Key_2, 14},  {17, Qt::Key_W, 15}, {4, Qt::Key_3, 16},
    {18, Qt::Key_E, 17}, {19, Qt::Key_R, 18}, {6, Qt::Key_5, 19},  {20, Qt::Key_T, 20},
    {7, Qt::Key_6, 21},  {21, Qt::Key_Y, 22}, {8, Qt::Key_7, 23},  {22, Qt::Key_U, 24},
    {23, Qt::Key_I, 25}, {10, Qt::Key_9, 26}, {24, Qt::Key_O, 27}, {11, Qt::Key_0, 28},
    {25, Qt::Key_P, 29},
    {86, Qt::Key_Less, CNoteKeys::STOP_NOTE},     // KEY_102ND, left of Z
    {58, Qt::Key_CapsLock, CNoteKeys::STOP_NOTE}, // KEY_CAPSLOCK
}};

} // namespace

std::span<const CNoteKeys::TNoteKey> CNoteKeys::Keys()
{
    return kNoteKeys;
}

int CNoteKeys::OffsetOf(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return NO_NOTE;
    if (event.nativeScanCode() != 0)
        return OffsetFromScanCode(event.nativeScanCode());
    return OffsetFromKey(event.key());
}

int CNoteKeys::OffsetFromScanCode(uint32_t keycode)
{
    for (const TNoteKey& key : kNoteKeys)
        if (key.evdev + kEvdevOffset == keycode)
            return key.offset;
    return NO_NOTE;
}

int CNoteKeys::OffsetFromKey(int qtKey)
{
    for (const TNoteKey& key : kNoteKeys)
        if (key.qtKey == qtKey)
            return key.offset;
    return NO_NOTE;
}

uint32_t CNoteKeys::CellFromMidiNote(int midiNote)
{
    const int value = midiNote - 11;
    return value >= 1 && value <= 113 ? uint32_t(value) : 0;
}

} // namespace rix
