#include "EnvGraphWnd.h"

#include <QPainter>
#include <vector>

#include "EnvelopeMath.h"
#include "Theme.h"

namespace rix {
namespace {

constexpr QRgb BACKGROUND = 0xFF000044;
constexpr QRgb FRAME = 0xFF8888FF;
constexpr QRgb CURVE = 0xFFFFFF88;
constexpr QRgb ROW_MARK = 0xFF4444AA;
constexpr QRgb SUSTAIN_MARK = 0xFFFF8888;
constexpr QRgb TEXT = 0xFFFFFFFF;

} // namespace

CEnvGraphWnd::CEnvGraphWnd(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Graph"));
    setObjectName(QStringLiteral("Graph"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CEnvGraphWnd::Render(const TRixEnvelope& shown, int32_t shownRowLength)
{
    envelope = shown;
    rowLength = shownRowLength;
    const int w = width();
    const int h = height();
    if (!OffscreenFits(image, size(), devicePixelRatioF()))
        image = MakeOffscreen(size(), devicePixelRatioF());
    QPainter painter(&image);
    painter.fillRect(rect(), QColor::fromRgba(BACKGROUND));

    painter.setPen(QColor::fromRgba(FRAME));
    for (int y : {CEnvelopeMath::GRAPH_TOP, h - CEnvelopeMath::GRAPH_BOTTOM_MARGIN, h / 2})
        painter.drawLine(0, y, w, y);
    painter.drawLine(CEnvelopeMath::GRAPH_LEFT, 0, CEnvelopeMath::GRAPH_LEFT, h - 1);

    painter.setFont(CTheme::Get().Font(0));
    painter.setPen(QColor::fromRgba(TEXT));
    const auto label = [&](int y, int64_t value) {
        painter.drawText(QRect(4, y, CEnvelopeMath::GRAPH_LEFT - 4, h), Qt::AlignLeft | Qt::AlignTop,
                         QString::number(value));
    };
    label(4, envelope.maxValue);
    label(h - 38, envelope.minValue);
    // Halved in 64 bits: the sum of two values from a file may not fit 32.
    label(h / 2 - 18, (static_cast<int64_t>(envelope.minValue) + envelope.maxValue) / 2);

    painter.setPen(QColor::fromRgba(ROW_MARK));
    for (int x : CEnvelopeMath::RowMarks(rowLength, envelope.speed, w))
        painter.drawLine(x, 0, x, h - 1);

    painter.setPen(QColor::fromRgba(CURVE));
    const std::vector<int> curve = CEnvelopeMath::Curve(envelope, w, h);
    for (std::size_t x = 1; x < curve.size(); ++x) {
        const int left = static_cast<int>(x) + CEnvelopeMath::GRAPH_LEFT - 1;
        painter.drawLine(left, curve[x - 1], left + 1, curve[x]);
    }

    if (envelope.sustainEnabled) {
        painter.setPen(QColor::fromRgba(SUSTAIN_MARK));
        const int x = CEnvelopeMath::SustainX(envelope);
        painter.drawLine(x, 0, x, h - 1);
    }
    update();
}

void CEnvGraphWnd::paintEvent(QPaintEvent*)
{
    // Another screen density: drawn again for it.
    if (key.Changed(devicePixelRatioF()) && !image.isNull())
        Render(envelope, rowLength);
    QPainter painter(this);
    if (image.isNull())
        painter.fillRect(rect(), QColor::fromRgba(BACKGROUND));
    else
        painter.drawImage(0, 0, image);
}

} // namespace rix
