#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <string>

#include "IMessageTarget.h"
#include "IPlaybackDocument.h"

namespace rix {

// The editor windows and the document the playback controller informs,
// one registration per role.
//
// Threading: registration and the direct calls (cursor moves, refreshes)
// happen on the UI thread. Posts may come from any thread; they happen
// under `mutex`, so a window or document that has left is never called
// again once its registration call returned.
class CEditorNotifier {
public:
    // A window takes its role, or leaves it with null. Not owned.
    void RegisterTarget(TEditorRole role, IMessageTarget* target);
    // The document, or null. Not owned.
    void RegisterDocument(IPlaybackDocument* document);

    // UI thread: the window in a role, or null.
    IMessageTarget* Target(TEditorRole role) const { return targets[role]; }
    IPlaybackDocument* Document() const { return document; }
    // UI thread: re-read and repaint each window of the roles present.
    void RefreshAndRepaint(std::initializer_list<TEditorRole> roles) const;

    // Any thread: a message with second parameter 0, if the role is taken.
    void Post(TEditorRole role, uint32_t message, uintptr_t wParam);
    // The audible absolute row to the order table (as an order position),
    // the pattern editor and the time counter.
    void PostPlayingRow(int32_t row);
    void PostLevelRefresh();
    // Nothing plays any more: no playing position to the order table and
    // the pattern editor, the editing cursor (order × 16 + row) to the time
    // counter, the end to the level panels.
    void PostPlaybackEnd(int32_t cursorRow);
    // The editing cursor to the time counter, when nothing plays.
    void PostCursor(int32_t cursorRow);
    // Why playback failed, to the document (which posts it on to the UI).
    void PostPlaybackFailed(const std::string& reason);

private:
    mutable std::mutex mutex;
    std::array<IMessageTarget*, EDITOR_ROLES> targets{};
    IPlaybackDocument* document = nullptr;
};

} // namespace rix
