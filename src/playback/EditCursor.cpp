#include "EditCursor.h"

#include <algorithm>

#include "RixConstants.h"

namespace rix {

CEditCursor::CEditCursor(CEditorNotifier& notifier) : notifier(notifier) {}

void CEditCursor::SelectChannel(int32_t newChannel)
{
    newChannel = std::clamp(newChannel, 0, RIX_CHANNELS - 1);
    if (newChannel == channel)
        return;
    channel = newChannel;
    notifier.ChannelCursorMoved(newChannel);
}

void CEditCursor::SetOrderPosition(int32_t position)
{
    position = std::clamp(position, 0, RIX_ORDER_POSITIONS - 1);
    if (position == order)
        return;
    order = position;
    notifier.OrderCursorMoved(position);
}

void CEditCursor::SetRow(int32_t newRow)
{
    newRow = std::clamp(newRow, 0, RIX_ROWS - 1);
    if (newRow == row)
        return;
    row = newRow;
    notifier.RowCursorMoved(newRow);
}

void CEditCursor::ResetRow()
{
    row = 0;
    notifier.RowCursorMoved(0);
}

} // namespace rix
