#pragma once

#include <QIcon>
#include <QImage>

namespace rix {

// The "Standard" toolbar's 16 × 16 pictures and the program's icon, drawn
// once with QPainter so that they need no image files; the pictures also at
// 2 and 3 device pixels per pixel.
class CToolbarIcons {
public:
    enum TIcon { New, Open, Save, Cut, Copy, Paste, Print, About };

    static QIcon Icon(TIcon icon);
    static QImage Image(TIcon icon, int ratio = 1);
    // The program's icon (a note over a waveform) at size × size pixels.
    static QImage ProgramImage(int size);
    static QIcon ProgramIcon();
};

} // namespace rix
