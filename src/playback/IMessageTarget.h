#pragma once

#include <cstdint>

namespace rix {

// Messages the playback controller posts (second parameter always 0).
// MSG_PLAYING_POSITION carries, to the order table, the playing order
// position, and to the pattern editor and the time counter the playing
// absolute row (order position × 16 + row); NO_PLAYING_POSITION means
// nothing plays. The time counter gets the editing cursor instead when
// playback ends or the cursor moves while nothing plays.
constexpr uint32_t MSG_PLAYING_POSITION = 0x400;
// To the three level panels: every polling cycle while playing.
constexpr uint32_t MSG_LEVEL_REFRESH = 0x401;
// To the three level panels: playback has ended.
constexpr uint32_t MSG_PLAYBACK_STOPPED = 0x402;
constexpr uintptr_t NO_PLAYING_POSITION = 0xFFFF;

// The windows the controller informs, one registration each.
enum TEditorRole {
    EDITOR_ORDER_TABLE,
    EDITOR_PATTERN,
    EDITOR_TIME_COUNTER,
    EDITOR_MIXER,
    EDITOR_MASTER_PANEL,
    EDITOR_OSCILLATOR_BAR,
    EDITOR_OSCILLATOR_LIST,
    EDITOR_EFFECT_LIST,
    // Only repainted when the editors are reset.
    EDITOR_EXTRA_PANEL,
    EDITOR_ROLES
};

// An editor window as the playback controller sees it.
class IMessageTarget {
public:
    // Called from any thread (the playback thread too); must only queue the
    // message for the window's own thread and return at once.
    virtual void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;

    // The rest are called on the UI thread by the controller's cursor and
    // refresh operations; a window ignores what does not concern it.
    // The cursor follows the controller's channel (0..7), order position
    // (0..255) or row (0..15).
    virtual void SetChannelCursor(int32_t) {}
    virtual void SetOrderCursor(int32_t) {}
    virtual void SetRowCursor(int32_t) {}
    // Show the instrument of another channel (0..7).
    virtual void ShowChannel(int32_t) {}
    // Re-read what the window shows from the module.
    virtual void Refresh() {}
    virtual void Repaint() {}

protected:
    ~IMessageTarget() = default;
};

} // namespace rix
