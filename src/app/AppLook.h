#pragma once

#include <QPalette>
#include <QString>

namespace rix {

// The nine application looks of View ▸ Application Look, ids 210..218, as
// Qt styles and palettes. A look colours the frame, the menus, the toolbar,
// the status bar and the dialogs; the editor windows draw with the theme,
// whose dark scheme goes with the one dark look (Black) and whose light
// scheme with the others.
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
    // Installs the look's style, palette and theme scheme on the application
    // and repaints every window; false (and nothing changes) for an unknown
    // id. UI thread; the theme must exist.
    static bool Apply(int id);
    // A look of light text on dark windows.
    static bool IsDark(const TLook& look);
    static QPalette PaletteOf(const TLook& look);
};

} // namespace rix
