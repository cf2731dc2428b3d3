#include "ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace rix {

namespace {

const QColor kOutline(0x30, 0x30, 0x30);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kFolder(0xF0, 0xC8, 0x50);
const QColor kDisk(0x3A, 0x5F, 0xA8);
const QColor kMetal(0xB8, 0xC0, 0xC8);

void DrawPage(QPainter& p, int x, int y, int w, int h)
{
    QPainterPath page;
    page.moveTo(x + 0.5, y + 0.5);
    page.lineTo(x + w - 3.5, y + 0.5);
    page.lineTo(x + w - 0.5, y + 3.5);
    page.lineTo(x + w - 0.5, y + h - 0.5);
    page.lineTo(x + 0.5, y + h - 0.5);
    page.closeSubpath();
    p.setPen(kOutline);
    p.setBrush(kPaper);
    p.drawPath(page);
}

void DrawLines(QPainter& p, int x, int y, int w, int count)
{
    p.setPen(QColor(0x80, 0x90, 0xB0));
    for (int i = 0; i < count; ++i)
        p.drawLine(x, y + 2 * i, x + w, y + 2 * i);
}

void Draw(QPainter& p, CToolbarIcons::TIcon icon)
{
    switch (icon) {
    case CToolbarIcons::New:
        DrawPage(p, 2, 0, 12, 16);
        p.setPen(QColor(0xFF, 0xC0, 0x00));
        p.drawLine(11, 1, 15, 5);
        p.drawLine(11, 5, 15, 1);
        break;
    case CToolbarIcons::Open: {
        p.setPen(kOutline);
        p.setBrush(kFolder.darker(115));
        p.drawRect(QRectF(0.5, 3.5, 12, 10));
        QPolygonF flap({{0.5, 13.5}, {3.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}});
        p.setBrush(kFolder);
        p.drawPolygon(flap);
        break;
    }
    case CToolbarIcons::Save:
        p.setPen(kOutline);
        p.setBrush(kDisk);
        p.drawRect(QRectF(0.5, 0.5, 15, 15));
        p.setBrush(kPaper);
        p.drawRect(QRectF(3.5, 0.5, 9, 6));
        p.setBrush(kMetal);
        p.drawRect(QRectF(4.5, 10.5, 7, 5));
        p.fillRect(QRect(9, 11, 2, 3), kOutline);
        break;
    case CToolbarIcons::Cut:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(kOutline, 1.2));
        p.drawLine(QPointF(4, 0.5), QPointF(10, 10));
        p.drawLine(QPointF(12, 0.5), QPointF(6, 10));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0xC0, 0x20, 0x20), 1.6));
        p.drawEllipse(QPointF(4.5, 12.5), 2.6, 2.6);
        p.drawEllipse(QPointF(11.5, 12.5), 2.6, 2.6);
        break;
    case CToolbarIcons::Copy:
        DrawPage(p, 0, 0, 10, 12);
        DrawLines(p, 2, 4, 5, 3);
        DrawPage(p, 5, 4, 10, 12);
        DrawLines(p, 7, 8, 5, 3);
        break;
    case CToolbarIcons::Paste:
        p.setPen(kOutline);
        p.setBrush(QColor(0xA8, 0x78, 0x40));
        p.drawRect(QRectF(1.5, 1.5, 11, 14));
        p.setBrush(kMetal);
        p.drawRect(QRectF(4.5, 0.5, 5, 3));
        DrawPage(p, 6, 5, 9, 11);
        DrawLines(p, 8, 8, 4, 3);
        break;
    case CToolbarIcons::Print:
        DrawPage(p, 4, 0, 8, 7);
        p.setPen(kOutline);
        p.setBrush(kMetal);
        p.drawRect(QRectF(0.5, 6.5, 15, 6));
        p.setBrush(kPaper);
        p.drawRect(QRectF(3.5, 10.5, 9, 5));
        p.fillRect(QRect(12, 8, 2, 1), QColor(0x20, 0xA0, 0x20));
        break;
    case CToolbarIcons::About: {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(kDisk.darker(130), 1));
        p.setBrush(kDisk);
        p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        QFont font = p.font();
        font.setPixelSize(12);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
}

} // namespace

namespace {

QImage DrawnImage(const std::function<void(QPainter&)>& draw, int ratio)
{
    QImage image(16 * ratio, 16 * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    draw(painter);
    return image;
}

} // namespace

QImage CToolbarIcons::Image(TIcon icon, int ratio)
{
    return DrawnImage([icon](QPainter& painter) { Draw(painter, icon); }, ratio);
}

QIcon CToolbarIcons::Icon(TIcon icon)
{
    return Drawn([icon](QPainter& painter) { Draw(painter, icon); });
}

QIcon CToolbarIcons::Drawn(const std::function<void(QPainter&)>& draw)
{
    // Drawn finer for zoomed and high-density screens; the icon takes the
    // one that fits the screen's ratio.
    QIcon result;
    for (int ratio : {1, 2, 3})
        result.addPixmap(QPixmap::fromImage(DrawnImage(draw, ratio)));
    return result;
}

QImage CToolbarIcons::ProgramImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QLinearGradient face(0, 0, 0, 64);
    face.setColorAt(0, QColor(0x2E, 0x4F, 0x8F));
    face.setColorAt(1, QColor(0x12, 0x22, 0x44));
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    // A saw wave under a quaver.
    p.setPen(QPen(QColor(0x7F, 0xE0, 0xFF), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{8, 50}, {20, 38}, {20, 50}, {32, 38}, {32, 50}, {44, 38}, {44, 50}, {56, 38}}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xD8, 0x6B));
    p.drawEllipse(QRectF(16, 22, 14, 10));
    p.drawRect(QRectF(27, 8, 3, 20));
    QPainterPath flag;
    flag.moveTo(30, 8);
    flag.cubicTo(40, 12, 44, 16, 40, 26);
    flag.cubicTo(40, 20, 36, 17, 30, 16);
    flag.closeSubpath();
    p.drawPath(flag);
    return image;
}

QIcon CToolbarIcons::ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addPixmap(QPixmap::fromImage(ProgramImage(size)));
    return icon;
}

} // namespace rix
