#include "EditCursor.h"

#include <algorithm>

#include "RixConstants.h"

namespace rix {

CEditCursor::CEditCursor(CEditorNotifier& notifier, const std::atomic<bool>& playing)
    : notifier(notifier), playing(playing)
{
}

void CEditCursor::SelectChannel(int32_t newChannel)
{
    newChannel = std::clamp(newChannel, 0, RIX_CHANNELS - 1);
    if (newChannel == channel)
        return;
    channel = newChannel;
    for (TEditorRole role : {EDITOR_PATTERN, EDITOR_ORDER_TABLE})
        if (IMessageTarget* target = notifier.Target(role))
            target->SetChannelCursor(newChannel);
    for (TEditorRole role : {EDITOR_OSCILLATOR_LIST, EDITOR_EFFECT_LIST})
        if (IMessageTarget* target = notifier.Target(role)) {
            target->ShowChannel(newChannel);
            target->Repaint();
        }
}

void CEditCursor::SetOrderPosition(int32_t position)
{
    position = std::clamp(position, 0, RIX_ORDER_POSITIONS - 1);
    if (position == order)
        return;
    order = position;
    notifier.RefreshAndRepaint({EDITOR_PATTERN});
    if (IMessageTarget* orderTable = notifier.Target(EDITOR_ORDER_TABLE))
        orderTable->SetOrderCursor(position);
    PostToTimeCounter();
}

void CEditCursor::SetRow(int32_t newRow)
{
    newRow = std::clamp(newRow, 0, RIX_ROWS - 1);
    if (newRow == row)
        return;
    StoreRow(newRow);
}

void CEditCursor::ResetRow()
{
    StoreRow(0);
}

void CEditCursor::StoreRow(int32_t newRow)
{
    row = newRow;
    if (IMessageTarget* pattern = notifier.Target(EDITOR_PATTERN))
        pattern->SetRowCursor(newRow);
    PostToTimeCounter();
}

int32_t CEditCursor::AbsoluteRow() const
{
    return order * RIX_ROWS + row;
}

void CEditCursor::PostToTimeCounter()
{
    if (!playing)
        notifier.PostCursor(AbsoluteRow());
}

} // namespace rix
