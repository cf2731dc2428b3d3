#pragma once

#include <cstddef>
#include <vector>

namespace rix {

class CImageButton;

// The buttons in a list item's header, from the right edge leftwards:
// Close, Down, Up and Copy. They stay at the right edge of an item that
// widens; Up and Down are enabled only where the item can move. UI thread.
class CItemHeader {
public:
    // In that order.
    void Add(CImageButton* button);
    void Place(int itemWidth) const;
    // For the item at index of count.
    void EnableMoves(std::size_t index, std::size_t count) const;

private:
    std::vector<CImageButton*> buttons;
};

} // namespace rix
