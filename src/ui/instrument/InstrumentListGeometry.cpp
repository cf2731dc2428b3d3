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

CListStack::CListStack(const std::vector<int>& heights)
{
    tops.reserve(heights.size() + 1);
    for (int height : heights)
        tops.push_back(tops.back() + height + LIST_ITEM_GAP);
}

std::pair<std::size_t, std::size_t> CListStack::Visible(int scrollPosition, int listHeight) const
{
    const int64_t viewTop = int64_t{scrollPosition} * LIST_SCROLL_UNIT;
    // An item reaches into view when its bottom (the next top less the
    // gap) lies below the view's top, and starts in it above its bottom.
    const auto first = std::upper_bound(tops.begin() + 1, tops.end(), viewTop + LIST_ITEM_GAP) - (tops.begin() + 1);
    const auto end = std::lower_bound(tops.begin(), tops.end() - 1, viewTop + listHeight) - tops.begin();
    return {static_cast<std::size_t>(first), static_cast<std::size_t>(std::max(first, end))};
}

int64_t CListStack::ScrollShowing(std::size_t position, int scrollPosition, int listHeight) const
{
    const int64_t top = tops[position];
    const int64_t bottom = tops[position + 1] - LIST_ITEM_GAP;
    if (top < int64_t{scrollPosition} * LIST_SCROLL_UNIT || bottom - top > listHeight)
        return top / LIST_SCROLL_UNIT;
    if (bottom > int64_t{scrollPosition} * LIST_SCROLL_UNIT + listHeight)
        return (bottom - listHeight + LIST_SCROLL_UNIT - 1) / LIST_SCROLL_UNIT;
    return scrollPosition;
}

int ScrollMaximum(int64_t contentHeight, int listHeight)
{
    const int64_t last = (contentHeight - listHeight + LIST_SCROLL_UNIT) / LIST_SCROLL_UNIT;
    return static_cast<int>(std::clamp<int64_t>(last, 0, INT32_MAX));
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
