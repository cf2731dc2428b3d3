#include "EditorNotifier.h"

#include <algorithm>

namespace rix {

void CEditorNotifier::AddListener(IMessageTarget* listener, uint32_t postInterests)
{
    if (!listener)
        return;
    std::lock_guard guard(mutex);
    for (TListener& present : listeners)
        if (present.target == listener) {
            present.posts = postInterests;
            return;
        }
    listeners.push_back({listener, postInterests});
}

void CEditorNotifier::RemoveListener(IMessageTarget* listener)
{
    std::lock_guard guard(mutex);
    std::erase_if(listeners, [listener](const TListener& present) { return present.target == listener; });
}

void CEditorNotifier::RegisterDocument(IPlaybackDocument* newDocument)
{
    std::lock_guard guard(mutex);
    document = newDocument;
}

template <class TCall> void CEditorNotifier::CallEach(TCall call)
{
    // Only the UI thread changes the list, so it may be read here without
    // the lock; the copy lets a listener add or remove listeners.
    const std::vector<TListener> present = listeners;
    for (const TListener& listener : present) {
        const bool stillThere = std::any_of(listeners.begin(), listeners.end(),
                                            [&](const TListener& l) { return l.target == listener.target; });
        if (stillThere)
            call(*listener.target);
    }
}

void CEditorNotifier::ChannelCursorMoved(int32_t channel)
{
    CallEach([channel](IMessageTarget& target) { target.SetChannelCursor(channel); });
}

void CEditorNotifier::OrderCursorMoved(int32_t order)
{
    CallEach([order](IMessageTarget& target) { target.SetOrderCursor(order); });
}

void CEditorNotifier::RowCursorMoved(int32_t row)
{
    CallEach([row](IMessageTarget& target) { target.SetRowCursor(row); });
}

void CEditorNotifier::SongChanged(const TSongChange& change)
{
    if (change.IsEmpty())
        return;
    CallEach([&change](IMessageTarget& target) { target.OnSongChanged(change); });
}

void CEditorNotifier::Post(uint32_t interest, uint32_t message, uintptr_t wParam)
{
    std::lock_guard guard(mutex);
    for (const TListener& listener : listeners)
        if (listener.posts & interest)
            listener.target->PostMessage(message, wParam, 0);
}

void CEditorNotifier::PostPlayingRow(int32_t row)
{
    Post(POSTS_POSITION, MSG_PLAYING_POSITION, static_cast<uintptr_t>(row));
}

void CEditorNotifier::PostLevelRefresh()
{
    Post(POSTS_LEVELS, MSG_LEVEL_REFRESH, 0);
}

void CEditorNotifier::PostPlaybackEnd()
{
    Post(POSTS_POSITION, MSG_PLAYING_POSITION, NO_PLAYING_POSITION);
    Post(POSTS_LEVELS, MSG_PLAYBACK_STOPPED, 0);
}

void CEditorNotifier::PostPlaybackFailed(const std::string& reason)
{
    std::lock_guard guard(mutex);
    if (document)
        document->OnPlaybackFailed(reason);
}

} // namespace rix
