#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// Pixel geometry of the oscillator and effect lists, without a window.
namespace rix {

// An inclusive pixel rectangle of an item window.
struct TItemRect {
    int left, top, right, bottom;
    bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

// The items' width in a list of the panel's composed width; a wider list
// widens them.
constexpr int LIST_ITEM_WIDTH = 340;
constexpr int LIST_ITEM_GAP = 2;
// One scroll bar position moves the items by this many pixels.
constexpr int LIST_SCROLL_UNIT = 10;
constexpr int LIST_SCROLL_PAGE = 4;
constexpr int LIST_SCROLLBAR_WIDTH = 17;
// The panels' tool row above the list.
constexpr int PANEL_TOOL_ROW_HEIGHT = 26;
constexpr int PANEL_BUTTON_SIZE = 22;
constexpr int PANEL_BUTTON_STEP = 24;
constexpr int ITEM_BUTTON_SIZE = 19;
// The items' Copy button: a bitmap whose whole drawing fits the button.
constexpr int ITEM_COPY_BITMAPS[2] = {364, 365};

constexpr int OSCILLATOR_ITEM_HEIGHT = 60;
// Clicks in an oscillator item.
constexpr TItemRect OSCILLATOR_TYPE_RECT{9, 7, 67, 25};
constexpr TItemRect OSCILLATOR_PITCH_RECT{171, 7, 209, 25};
constexpr TItemRect OSCILLATOR_VOLUME_RECT{61, 34, 197, 52};
// The "Transpose all:" amount in the oscillator panel.
constexpr TItemRect TRANSPOSE_AMOUNT_RECT{86, 33, 124, 51};
constexpr int TRANSPOSE_ROW_HEIGHT = 30;
// The delay item's length number.
constexpr TItemRect DELAY_LENGTH_RECT{101, 7, 139, 25};

// The width of the items in a list listWidth wide: the list less its
// margins and scroll bar, at least LIST_ITEM_WIDTH.
int ItemWidth(int listWidth);
// The x of an item's header button in an item itemWidth wide: slot 0 is the
// rightmost (Close), then Down, Up and Copy to its left.
int HeaderButtonX(int itemWidth, int slot);
constexpr int HEADER_BUTTON_TOP = 4;

// 60 px for Delay, Flange, Low-pass and High-pass, 84 for Resonance,
// Overdrive and Band-pass, 0 (no item) for any other type.
int EffectItemHeight(int32_t type);

// Items of given heights stacked from 2 px below a list's top with 2 px
// between them, in content pixels (the list scrolled to 0). 64-bit: an
// instrument file may hold more items than 32-bit pixels can stack.
class CListStack {
public:
    CListStack() = default;
    explicit CListStack(const std::vector<int>& heights);

    std::size_t Count() const { return tops.size() - 1; }
    int64_t Top(std::size_t position) const { return tops[position]; }
    // Each item counts its height plus the 2 px gap.
    int64_t ContentHeight() const { return tops.back() - LIST_ITEM_GAP; }
    // The items [first, end) a list of listHeight pixels scrolled to
    // scrollPosition units shows, wholly or in part.
    std::pair<std::size_t, std::size_t> Visible(int scrollPosition, int listHeight) const;
    // The scroll position nearest to scrollPosition that shows the whole
    // item (its top, when the list is lower than the item).
    int64_t ScrollShowing(std::size_t position, int scrollPosition, int listHeight) const;

private:
    // The top of every item and, last, where one more would go.
    std::vector<int64_t> tops{LIST_ITEM_GAP};
};

// The last scroll position: (content - list + 10) / 10, at least 0 (and at
// most what a scroll bar counts).
int ScrollMaximum(int64_t contentHeight, int listHeight);

// The oscillator volume for a press at x in the item: 2x - 130 in 0..255.
int32_t OscillatorVolumeFromX(int x);
// A value bar's 0..1 as a field: 0..255, rounded.
int32_t FieldFromBar(float value);
// The semitone scroll bars (0..200, 100 in the middle) and cents: the top
// is the highest, so that the upper arrow raises the pitch. Any int or
// cents value maps without overflow (cents clamped to int32, positions to
// 0..200).
int32_t CentsFromScrollPosition(int position);
int ScrollPositionFromCents(int32_t cents);

} // namespace rix
