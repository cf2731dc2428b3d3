#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>

#include "Offscreen.h"
#include "RixEnvelope.h"

namespace rix {

// The envelope editor's graph: a stretch of the envelope's curve from its
// start, with the value scale, row marks and the sustain point, rendered
// into an off-screen image at the window's device pixel ratio that painting
// copies. UI thread only.
class CEnvGraphWnd : public QWidget {
    Q_OBJECT
public:
    explicit CEnvGraphWnd(QWidget* parent);

    // Draws envelope at a song row length of rowLength samples and repaints;
    // takes copies, so the caller need not hold the module lock meanwhile.
    void Render(const TRixEnvelope& envelope, int32_t rowLength);
    const QImage& Image() const { return image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image;
    COffscreenKey key;
    // What the image shows, to draw it again at another ratio.
    TRixEnvelope envelope{};
    int32_t rowLength = 0;
};

} // namespace rix
