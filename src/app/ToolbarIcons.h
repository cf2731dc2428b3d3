#pragma once

#include <functional>

#include <QIcon>
#include <QImage>

class QPainter;

namespace rix {

// The "Standard" toolbar's 16 × 16 pictures and the program's icon, drawn
// once with QPainter so that they need no image files; the pictures also at
// 2 and 3 device pixels per pixel.
class CToolbarIcons {
public:
    enum TIcon { New, Open, Save, Cut, Copy, Paste, Print, About };

    static QIcon Icon(TIcon icon);
    static QImage Image(TIcon icon, int ratio = 1);
    // A picture of the same kind drawn by draw on a 16 × 16 canvas.
    static QIcon Drawn(const std::function<void(QPainter&)>& draw);
    // The program's icon (a note over a waveform) at size × size pixels.
    static QImage ProgramImage(int size);
    static QIcon ProgramIcon();
};

} // namespace rix
