#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "IMessageTarget.h"
#include "IPlaybackDocument.h"

namespace rix {

// The windows and the document that hear of the cursor, the song and the
// playback: a list of listeners, each with the posts it wants.
//
// Threading: listeners come and go and the direct calls (cursor moves,
// song changes) happen on the UI thread. Posts may come from any thread;
// they happen under `mutex`, so a listener or document that has left is
// never called again once its removal returned.
class CEditorNotifier {
public:
    // Not owned; a listener must leave before it dies. Adding one twice
    // changes its interests.
    void AddListener(IMessageTarget* listener, uint32_t postInterests = POSTS_NONE);
    void RemoveListener(IMessageTarget* listener);
    // The document, or null. Not owned.
    void RegisterDocument(IPlaybackDocument* document);
    IPlaybackDocument* Document() const { return document; }

    // UI thread: to every listener present when the call began and still
    // there (a listener may add or remove listeners meanwhile).
    void ChannelCursorMoved(int32_t channel);
    void OrderCursorMoved(int32_t order);
    void RowCursorMoved(int32_t row);
    void SongChanged(const TSongChange& change);

    // Any thread: the audible absolute row to the position listeners.
    void PostPlayingRow(int32_t row);
    void PostLevelRefresh();
    // Nothing plays any more: no playing position, and the end to the
    // level listeners.
    void PostPlaybackEnd();
    // Why playback failed, to the document (which posts it on to the UI).
    void PostPlaybackFailed(const std::string& reason);

private:
    struct TListener {
        IMessageTarget* target;
        uint32_t posts;
    };

    template <class TCall> void CallEach(TCall call);
    void Post(uint32_t interest, uint32_t message, uintptr_t wParam);

    mutable std::mutex mutex;
    std::vector<TListener> listeners;
    IPlaybackDocument* document = nullptr;
};

} // namespace rix
