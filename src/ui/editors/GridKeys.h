#pragma once

#include <Qt>
#include <span>

class QKeyEvent;

namespace rix {

// What a key of a grid window does. Rows are the pattern editor's rows or
// the order table's positions. The cursor moves (RowUp .. LastRow) with
// the argument kExtendSelection move the selection's end cell instead,
// the cursor with it, keeping the selection's anchor.
enum class TGridCommand {
    RowUp,
    RowDown,
    ChannelLeft,
    ChannelRight,
    PageUp,    // 16 rows up
    PageDown,
    FirstRow,
    LastRow,   // the pattern's last row, the song's last position
    PlaySong,  // or stop a playing song
    PlayLoop,  // loop the order position, or stop
    PlayFromCursor, // the song from the cursor's order position and row, or stop
    SelectAll, // every channel, every row (the order table: of the song)
    OtherGrid, // the keyboard focus to the other grid window
    Delete,    // empty the cursor cell (and move on), or clear the selection
    Insert,    // in the cursor channel
    InsertAll,
    Backspace, // the row above the cursor out of the cursor channel
    BackspaceAll,
    PatternUp, // the pattern number at the cursor's channel and order position
    PatternDown,
    PreviousOrder, // the pattern editor's order position
    NextOrder,
    Octave,      // the pattern editor's octave for the note keys
    TypePattern, // a hexadecimal digit typed into the order table
};

// A key of a grid window and what it does, in words for the list of keys.
// Either a key with exactly these modifiers (keypad keys count as the
// main ones), or one of some typed characters, whichever key of the
// keyboard's layout types them (Ctrl and Alt held make no character).
struct TGridKey {
    int key;                          // Qt::Key, 0 for characters
    Qt::KeyboardModifiers modifiers;
    const char* characters;           // null for a key
    TGridCommand command;
    int argument;                     // the octave of Octave, or kExtendSelection
    const char* description;
};

constexpr int kExtendSelection = 1;

// The keys of the pattern editor (besides the note keys, CNoteKeys) and
// of the order table, and the keys both take alike: the tables the windows
// run their keys from.
std::span<const TGridKey> PatternKeys();
std::span<const TGridKey> OrderTableKeys();
std::span<const TGridKey> SharedGridKeys();
// The binding in table that a key event matches, or null.
const TGridKey* FindGridKey(std::span<const TGridKey> table, const QKeyEvent& event);

} // namespace rix
