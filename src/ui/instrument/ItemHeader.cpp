#include "ItemHeader.h"

#include "ImageButton.h"
#include "InstrumentListGeometry.h"

namespace rix {

namespace {

constexpr std::size_t kDown = 1;
constexpr std::size_t kUp = 2;

} // namespace

void CItemHeader::Add(CImageButton* button)
{
    buttons.push_back(button);
}

void CItemHeader::Place(int itemWidth) const
{
    for (std::size_t slot = 0; slot < buttons.size(); ++slot)
        buttons[slot]->setGeometry(HeaderButtonX(itemWidth, static_cast<int>(slot)), HEADER_BUTTON_TOP,
                                   ITEM_BUTTON_SIZE, ITEM_BUTTON_SIZE);
}

void CItemHeader::EnableMoves(std::size_t index, std::size_t count) const
{
    if (buttons.size() <= kUp)
        return;
    buttons[kDown]->setEnabled(index + 1 < count);
    buttons[kUp]->setEnabled(index > 0);
}

} // namespace rix
