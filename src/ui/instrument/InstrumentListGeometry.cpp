#include "InstrumentListGeometry.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace rix {

int EffectItemHeight(int32_t type)
{
    if (type >= 0 && type <= 3)
        return 60;
    if (type >= 4 && type <= 6)
        return 84;
    return 0;
}

std::vector<int> StackItems(const std::vector<int>& heights, int scrollPosition)
{
    std::vector<int> tops;
    tops.reserve(heights.size());
    int top = LIST_ITEM_GAP - scrollPosition * LIST_SCROLL_UNIT;
    for (int height : heights) {
        tops.push_back(top);
        top += height + LIST_ITEM_GAP;
    }
    return tops;
}

int ContentHeight(const std::vector<int>& heights)
{
    int total = 0;
    for (int height : heights)
        total += height + LIST_ITEM_GAP;
    return total;
}

int ScrollMaximum(int contentHeight, int listHeight)
{
    return std::max(0, (contentHeight - listHeight + LIST_SCROLL_UNIT) / LIST_SCROLL_UNIT);
}

int ItemWidth(int listWidth)
{
    // The composed list, 368 px, holds items of LIST_ITEM_WIDTH.
    constexpr int kListMargins = 28;
    return std::max(LIST_ITEM_WIDTH, listWidth - kListMargins);
}

int HeaderButtonX(int itemWidth, int slot)
{
    constexpr int kRightEdge = 23;
    constexpr int kStep = 20;
    return itemWidth - kRightEdge - kStep * slot;
}

int32_t OscillatorVolumeFromX(int x)
{
    return static_cast<int32_t>(std::clamp<int64_t>(2 * int64_t{x} - 130, 0, 255));
}

int32_t FieldFromBar(float value)
{
    return static_cast<int32_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

int32_t CentsFromScrollPosition(int position)
{
    return static_cast<int32_t>(std::clamp<int64_t>((100 - int64_t{position}) * 100, INT32_MIN, INT32_MAX));
}

int ScrollPositionFromCents(int32_t cents)
{
    return std::clamp(100 - cents / 100, 0, 200);
}

} // namespace rix
