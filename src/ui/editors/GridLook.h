#pragma once

#include "CellBlock.h"

namespace rix {

// What both grid windows show besides their cells: the cursor, the block
// selection and whether the window has the keyboard focus.
struct TGridLook {
    TCell cursor;
    CCellSelection selection;
    bool hasFocus = false;
};

} // namespace rix
