#pragma once

#include <QPalette>
#include <QString>

namespace rix {

// The nine application looks of View ▸ Application Look, ids 210..218, as
// Qt styles and palettes. A look colours the frame, the menus, the toolbar
// and the status bar; the editor windows draw with the theme and keep their
// colours.
class CAppLook {
public:
    struct TLook {
        int id;
        const char* menuText;
        const char* styleName;
        // Window, button, highlight and text colours (0xRRGGBB).
        unsigned window;
        unsigned button;
        unsigned highlight;
        unsigned text;
    };

    static const TLook* Find(int id);
    static const TLook* Looks(int& count);
    // Installs the look's style and palette on the application; false (and
    // nothing changes) for an unknown id. UI thread.
    static bool Apply(int id);
    static QPalette PaletteOf(const TLook& look);
};

} // namespace rix
