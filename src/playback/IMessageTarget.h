#pragma once

#include <cstdint>

#include "SongChange.h"

namespace rix {

// Messages posted to the windows (second parameter always 0).
// MSG_PLAYING_POSITION carries the playing absolute row (order position ×
// 16 + row), or NO_PLAYING_POSITION once nothing plays.
constexpr uint32_t MSG_PLAYING_POSITION = 0x400;
// Every polling cycle while playing.
constexpr uint32_t MSG_LEVEL_REFRESH = 0x401;
// Playback has ended.
constexpr uint32_t MSG_PLAYBACK_STOPPED = 0x402;
constexpr uintptr_t NO_PLAYING_POSITION = 0xFFFF;

// Which posts a window wants (the calls on the UI thread go to every
// window): the playing position (MSG_PLAYING_POSITION), the level meters'
// pace (MSG_LEVEL_REFRESH, MSG_PLAYBACK_STOPPED).
enum TPostInterest : uint32_t {
    POSTS_NONE = 0,
    POSTS_POSITION = 1u << 0,
    POSTS_LEVELS = 1u << 1,
};

// A window as the playback controller and the edit layer see it: a
// listener of the cursor and of the song.
class IMessageTarget {
public:
    // Called from any thread (the playback thread too); must only queue the
    // message for the window's own thread and return at once.
    virtual void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;

    // The rest are called on the UI thread; a window ignores what does not
    // concern it. The editing cursor moved to channel (0..7), order position
    // (0..255) or row (0..15).
    virtual void SetChannelCursor(int32_t) {}
    virtual void SetOrderCursor(int32_t) {}
    virtual void SetRowCursor(int32_t) {}
    // The song changed (an edit, an undo or redo, a new or loaded song):
    // redraw what change names.
    virtual void OnSongChanged(const TSongChange&) {}

protected:
    ~IMessageTarget() = default;
};

} // namespace rix
