#include "EditorNotifier.h"

#include "RixConstants.h"

namespace rix {

namespace {

constexpr TEditorRole kLevelPanels[] = {EDITOR_MIXER, EDITOR_MASTER_PANEL, EDITOR_OSCILLATOR_BAR};

} // namespace

void CEditorNotifier::RegisterTarget(TEditorRole role, IMessageTarget* target)
{
    if (role < 0 || role >= EDITOR_ROLES)
        return;
    std::lock_guard guard(mutex);
    targets[role] = target;
}

void CEditorNotifier::RegisterDocument(IPlaybackDocument* newDocument)
{
    std::lock_guard guard(mutex);
    document = newDocument;
}

void CEditorNotifier::RefreshAndRepaint(std::initializer_list<TEditorRole> roles) const
{
    for (TEditorRole role : roles)
        if (IMessageTarget* target = Target(role)) {
            target->Refresh();
            target->Repaint();
        }
}

void CEditorNotifier::Post(TEditorRole role, uint32_t message, uintptr_t wParam)
{
    std::lock_guard guard(mutex);
    if (IMessageTarget* target = targets[role])
        target->PostMessage(message, wParam, 0);
}

void CEditorNotifier::PostPlayingRow(int32_t row)
{
    Post(EDITOR_ORDER_TABLE, MSG_PLAYING_POSITION, static_cast<uintptr_t>(row / RIX_ROWS));
    Post(EDITOR_PATTERN, MSG_PLAYING_POSITION, static_cast<uintptr_t>(row));
    Post(EDITOR_TIME_COUNTER, MSG_PLAYING_POSITION, static_cast<uintptr_t>(row));
}

void CEditorNotifier::PostLevelRefresh()
{
    for (TEditorRole panel : kLevelPanels)
        Post(panel, MSG_LEVEL_REFRESH, 0);
}

void CEditorNotifier::PostPlaybackEnd(int32_t cursorRow)
{
    Post(EDITOR_ORDER_TABLE, MSG_PLAYING_POSITION, NO_PLAYING_POSITION);
    Post(EDITOR_PATTERN, MSG_PLAYING_POSITION, NO_PLAYING_POSITION);
    PostCursor(cursorRow);
    for (TEditorRole panel : kLevelPanels)
        Post(panel, MSG_PLAYBACK_STOPPED, 0);
}

void CEditorNotifier::PostCursor(int32_t cursorRow)
{
    Post(EDITOR_TIME_COUNTER, MSG_PLAYING_POSITION, static_cast<uintptr_t>(cursorRow));
}

void CEditorNotifier::PostPlaybackFailed(const std::string& reason)
{
    std::lock_guard guard(mutex);
    if (document)
        document->OnPlaybackFailed(reason);
}

} // namespace rix
