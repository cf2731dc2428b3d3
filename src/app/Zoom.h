#pragma once

#include <span>

#include <QString>

namespace rix {

// View ▸ Zoom: every window of the program drawn 1, 1.25, 1.5 or 2 times as
// large, for high-density screens, on top of the density the desktop
// reports. Qt takes the factor (QT_SCALE_FACTOR) when the application
// starts, so a new zoom takes effect at the next start; the windows draw
// their off-screen pictures at the resulting device pixel ratio, so nothing
// is merely enlarged. The choice is kept in the settings ("Zoom", percent).
class CZoom {
public:
    // The zooms the menu offers, in percent.
    static std::span<const int> Choices();
    // The stored zoom; 100 when none or an unknown one is stored.
    static int Stored();
    static void Store(int percent);
    // The zoom this run was started with.
    static int Running();

    // Before the QApplication is made: sets Qt's scale factor to the stored
    // zoom times any factor the environment set already. Returns the
    // environment's own value, for RestoreEnvironment.
    static QByteArray ApplyAtStart();
    // After the QApplication is made: gives the environment back its own
    // factor, so that programs started from the editor (the text editor of
    // the C++ export) are not zoomed as well.
    static void RestoreEnvironment(const QByteArray& original);
};

} // namespace rix
