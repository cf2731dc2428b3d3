// Draws the editor's bitmaps (resources/bitmaps/<id>.png, and <id>@2x.png at
// twice the pixels for high-density screens): one flat icon set on light
// faces, dark slate glyphs with a few colour accents. Run by the "bitmaps"
// target after changing a drawing; the PNGs are kept in the repository, so
// normal builds never run this.
//   sonrix_draw_bitmaps OUTPUT_FOLDER
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QColor INK(0x33, 0x40, 0x5A);
const QColor BLUE(0x3D, 0x6F, 0xD9);
const QColor GREEN(0x2F, 0xA3, 0x5B);
const QColor RED(0xD6, 0x45, 0x41);
const QColor AMBER(0xF0, 0xB4, 0x3C);
const QColor PAPER(0xFF, 0xFF, 0xFF);
const QColor FACE(0xEE, 0xF0, 0xF5);
const QColor FACE_PRESSED(0xD3, 0xD9, 0xE6);

// Draws a glyph centred in a size x size box at the painter's origin.
using TGlyph = std::function<void(QPainter&, double size)>;

QPen Stroke(const QColor& colour, double width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Play(QPainter& p, double s, const QColor& colour)
{
    p.setPen(Stroke(colour.darker(115), 1.0));
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({{s * 0.36, s * 0.26}, {s * 0.74, s * 0.5}, {s * 0.36, s * 0.74}}));
}

void Stop(QPainter& p, double s)
{
    p.setPen(Stroke(RED.darker(115), 1.0));
    p.setBrush(RED);
    p.drawRoundedRect(QRectF(s * 0.3, s * 0.3, s * 0.4, s * 0.4), 1.5, 1.5);
}

void Loop(QPainter& p, double s)
{
    // A ring running anticlockwise, open at the top right, with the arrow
    // head at its end pointing up into the gap; a small play inside.
    const QRectF ring(s * 0.2, s * 0.2, s * 0.6, s * 0.6);
    p.setPen(Stroke(BLUE, s * 0.08));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, 90 * 16, 270 * 16);
    const QPointF end(s * 0.8, s * 0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(BLUE);
    p.drawPolygon(QPolygonF({end + QPointF(0, -s * 0.2), end + QPointF(s * 0.14, -s * 0.02), end + QPointF(-s * 0.14, -s * 0.02)}));
    p.setBrush(GREEN);
    p.drawPolygon(QPolygonF({{s * 0.43, s * 0.37}, {s * 0.63, s * 0.5}, {s * 0.43, s * 0.63}}));
}

void Envelope(QPainter& p, double s)
{
    // Attack, decay, sustain, release over a base line.
    p.setPen(Stroke(INK, 1.0));
    p.drawLine(QPointF(s * 0.18, s * 0.76), QPointF(s * 0.84, s * 0.76));
    QPainterPath curve(QPointF(s * 0.2, s * 0.74));
    curve.quadTo(QPointF(s * 0.28, s * 0.28), QPointF(s * 0.36, s * 0.24));
    curve.quadTo(QPointF(s * 0.42, s * 0.42), QPointF(s * 0.52, s * 0.44));
    curve.lineTo(QPointF(s * 0.66, s * 0.44));
    curve.quadTo(QPointF(s * 0.72, s * 0.72), QPointF(s * 0.82, s * 0.74));
    p.setPen(Stroke(BLUE, s * 0.075));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    p.setPen(Qt::NoPen);
    p.setBrush(AMBER);
    p.drawEllipse(QPointF(s * 0.36, s * 0.24), s * 0.055, s * 0.055);
}

void Plus(QPainter& p, double s, const QColor& colour, double centreX, double centreY, double arm)
{
    p.setPen(Stroke(colour, s * 0.1));
    p.drawLine(QPointF(centreX - arm, centreY), QPointF(centreX + arm, centreY));
    p.drawLine(QPointF(centreX, centreY - arm), QPointF(centreX, centreY + arm));
}

void Sheet(QPainter& p, const QRectF& r)
{
    // A page with its top right corner folded.
    const double fold = r.width() * 0.35;
    p.setPen(Stroke(INK, 1.0));
    p.setBrush(PAPER);
    p.drawPolygon(QPolygonF({r.topLeft(), {r.right() - fold, r.top()}, {r.right(), r.top() + fold}, r.bottomRight(),
                             r.bottomLeft()}));
    p.setBrush(FACE_PRESSED);
    p.drawPolygon(QPolygonF({{r.right() - fold, r.top()}, {r.right() - fold, r.top() + fold}, {r.right(), r.top() + fold}}));
}

void NewSheet(QPainter& p, double s)
{
    Sheet(p, QRectF(s * 0.27, s * 0.2, s * 0.42, s * 0.56));
    p.setPen(Stroke(GREEN.lighter(140), s * 0.16));
    Plus(p, s, GREEN, s * 0.68, s * 0.7, s * 0.11);
}

void Disk(QPainter& p, double s)
{
    const QRectF body(s * 0.24, s * 0.24, s * 0.52, s * 0.52);
    p.setPen(Stroke(INK, 1.0));
    p.setBrush(BLUE);
    p.drawRoundedRect(body, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(PAPER);
    p.drawRect(QRectF(s * 0.33, s * 0.5, s * 0.34, s * 0.22));
    p.setBrush(FACE_PRESSED);
    p.drawRect(QRectF(s * 0.36, s * 0.26, s * 0.26, s * 0.16));
    p.setBrush(INK);
    p.drawRect(QRectF(s * 0.53, s * 0.28, s * 0.06, s * 0.12));
}

void Folder(QPainter& p, double s)
{
    p.setPen(Stroke(INK, 1.0));
    p.setBrush(AMBER.darker(110));
    p.drawPolygon(QPolygonF({{s * 0.2, s * 0.28}, {s * 0.4, s * 0.28}, {s * 0.45, s * 0.34}, {s * 0.78, s * 0.34},
                             {s * 0.78, s * 0.72}, {s * 0.2, s * 0.72}}));
    p.setBrush(AMBER);
    p.drawPolygon(QPolygonF({{s * 0.26, s * 0.44}, {s * 0.84, s * 0.44}, {s * 0.78, s * 0.72}, {s * 0.2, s * 0.72}}));
}

void Copy(QPainter& p, double s)
{
    Sheet(p, QRectF(s * 0.22, s * 0.18, s * 0.36, s * 0.46));
    Sheet(p, QRectF(s * 0.42, s * 0.36, s * 0.36, s * 0.46));
}

void PlayFromCursor(QPainter& p, double s)
{
    // A play sign starting at a cursor bar.
    p.setPen(Stroke(BLUE, s * 0.08));
    p.drawLine(QPointF(s * 0.3, s * 0.26), QPointF(s * 0.3, s * 0.74));
    p.setPen(Stroke(GREEN.darker(115), 1.0));
    p.setBrush(GREEN);
    p.drawPolygon(QPolygonF({{s * 0.42, s * 0.28}, {s * 0.76, s * 0.5}, {s * 0.42, s * 0.72}}));
}

void Close(QPainter& p, double s)
{
    p.setPen(Stroke(RED, s * 0.1));
    p.drawLine(QPointF(s * 0.32, s * 0.32), QPointF(s * 0.68, s * 0.68));
    p.drawLine(QPointF(s * 0.68, s * 0.32), QPointF(s * 0.32, s * 0.68));
}

void Arrow(QPainter& p, double s, bool up)
{
    const double head = up ? s * 0.24 : s * 0.76;
    const double neck = up ? s * 0.48 : s * 0.52;
    const double tail = up ? s * 0.76 : s * 0.24;
    p.setPen(Stroke(INK, s * 0.1));
    p.drawLine(QPointF(s * 0.5, neck), QPointF(s * 0.5, tail));
    p.setPen(Stroke(INK, 1.0));
    p.setBrush(INK);
    p.drawPolygon(QPolygonF({{s * 0.5, head}, {s * 0.7, neck}, {s * 0.3, neck}}));
}

void Tick(QPainter& p, double s)
{
    p.setPen(Stroke(GREEN, s * 0.11));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{s * 0.28, s * 0.52}, {s * 0.44, s * 0.68}, {s * 0.73, s * 0.34}}));
}

void Transpose(QPainter& p, double s)
{
    // An eighth note beside an up-and-down arrow.
    p.setPen(Stroke(INK, s * 0.06));
    p.drawLine(QPointF(s * 0.45, s * 0.66), QPointF(s * 0.45, s * 0.24));
    p.drawLine(QPointF(s * 0.45, s * 0.24), QPointF(s * 0.56, s * 0.34));
    p.setPen(Qt::NoPen);
    p.setBrush(INK);
    p.drawEllipse(QPointF(s * 0.37, s * 0.68), s * 0.09, s * 0.07);
    p.setPen(Stroke(BLUE, s * 0.06));
    p.drawLine(QPointF(s * 0.7, s * 0.34), QPointF(s * 0.7, s * 0.68));
    p.setPen(Stroke(BLUE, 1.0));
    p.setBrush(BLUE);
    p.drawPolygon(QPolygonF({{s * 0.7, s * 0.2}, {s * 0.8, s * 0.34}, {s * 0.6, s * 0.34}}));
    p.drawPolygon(QPolygonF({{s * 0.7, s * 0.8}, {s * 0.8, s * 0.66}, {s * 0.6, s * 0.66}}));
}

void Fm(QPainter& p, double s, bool on)
{
    const QRectF badge(s * 0.17, s * 0.28, s * 0.66, s * 0.44);
    p.setPen(Stroke(on ? BLUE.darker(120) : QColor(0xAA, 0xAA, 0xAA), 1.0));
    p.setBrush(on ? BLUE : FACE);
    p.drawRoundedRect(badge, 3, 3);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(s * 0.32));
    font.setBold(true);
    p.setFont(font);
    p.setPen(on ? PAPER : QColor(0x88, 0x88, 0x88));
    p.drawText(badge, Qt::AlignCenter, QStringLiteral("FM"));
}

// The waveforms of the oscillator list, on a small white tile.
void WaveTile(QPainter& p, double s, const std::vector<QPointF>& wave)
{
    p.setPen(Stroke(QColor(0xAA, 0xAA, 0xFF), 1.0));
    p.setBrush(PAPER);
    p.drawRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), 2, 2);
    QPolygonF line;
    for (const QPointF& point : wave)
        line << QPointF(2 + point.x() * (s - 4), s / 2 - point.y() * (s / 2 - 3.5));
    p.setPen(Stroke(BLUE.darker(110), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(line);
}

std::vector<QPointF> SineWave()
{
    std::vector<QPointF> wave;
    for (int i = 0; i <= 24; ++i)
        wave.emplace_back(i / 24.0, std::sin(i / 24.0 * 2 * M_PI));
    return wave;
}

// An image of width x height in drawing units at ratio pixels per unit; a
// painter on it draws in drawing units.
QImage Blank(int width, int height, qreal ratio, const QColor& fill)
{
    QImage image(qRound(width * ratio), qRound(height * ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(fill);
    return image;
}

QImage Button(int size, bool pressed, const TGlyph& glyph, qreal ratio)
{
    QImage image = Blank(size, size, ratio, pressed ? FACE_PRESSED : FACE);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A pushed button's glyph sinks by a pixel.
    if (pressed)
        p.translate(1, 1);
    glyph(p, size);
    return image;
}

QImage Tab(bool selected, qreal ratio)
{
    QImage image = Blank(96, 19, ratio, QColor(0xE8, 0xE8, 0xE8));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.moveTo(0.5, 19);
    shape.lineTo(0.5, 5);
    shape.quadTo(0.5, 0.5, 5, 0.5);
    shape.lineTo(91, 0.5);
    shape.quadTo(95.5, 0.5, 95.5, 5);
    shape.lineTo(95.5, 19);
    p.setPen(Stroke(QColor(0xAA, 0xAA, 0xAA), 1.0));
    p.setBrush(selected ? PAPER : QColor(0xD6, 0xD8, 0xE0));
    p.drawPath(shape);
    if (selected) {
        // An accent along the top edge marks the open page.
        p.setPen(Stroke(BLUE, 2.0));
        p.drawLine(QPointF(5, 1.5), QPointF(91, 1.5));
    } else {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QColor(0xAA, 0xAA, 0xAA));
        p.drawLine(0, 18, 95, 18);
    }
    return image;
}

QImage Spin(qreal ratio)
{
    QImage image = Blank(13, 20, ratio, FACE);
    QPainter p(&image);
    for (int half = 0; half < 2; ++half) {
        const int top = half * 10;
        p.setPen(PAPER);
        p.drawLine(0, top, 11, top);
        p.drawLine(0, top, 0, top + 8);
        p.setPen(QColor(0x88, 0x88, 0x88));
        p.drawLine(0, top + 9, 12, top + 9);
        p.drawLine(12, top, 12, top + 9);
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(INK);
    p.drawPolygon(QPolygonF({{6.5, 2.5}, {10, 7}, {3, 7}}));
    p.drawPolygon(QPolygonF({{3, 12.5}, {10, 12.5}, {6.5, 17}}));
    return image;
}

// Every bitmap by id, at ratio pixels per drawing unit.
std::vector<std::pair<int, QImage>> DrawAll(qreal ratio)
{
    struct TPair {
        int normal;
        int pressed;
        int size;
        TGlyph glyph;
    };
    const auto play = [](QPainter& p, double s) { Play(p, s, GREEN); };
    const auto plus = [](QPainter& p, double s) { Plus(p, s, BLUE, s * 0.5, s * 0.5, s * 0.22); };
    const std::vector<TPair> buttons = {
        {312, 313, 30, Envelope},
        {317, 318, 30, plus},
        {319, 320, 30, Disk},
        {321, 322, 30, Folder},
        {323, 324, 30, NewSheet},
        {325, 326, 30, Copy},
        {328, 329, 30, play},
        {330, 331, 30, play},
        {332, 333, 30, Stop},
        {334, 335, 30, Loop},
        {341, 342, 30, Close},
        {343, 344, 32, Envelope},
        {345, 346, 32, [](QPainter& p, double s) { Arrow(p, s, true); }},
        {347, 348, 32, [](QPainter& p, double s) { Arrow(p, s, false); }},
        {349, 350, 32, Transpose},
        {351, 352, 32, Tick},
        {356, 357, 30, [](QPainter& p, double s) { Fm(p, s, false); }},
        {358, 359, 30, [](QPainter& p, double s) { Fm(p, s, true); }},
        {362, 363, 30, PlayFromCursor},
        // The item windows' copy button shows all of its image.
        {364, 365, 17, Copy},
    };

    std::vector<std::pair<int, QImage>> images;
    for (const TPair& pair : buttons) {
        images.emplace_back(pair.normal, Button(pair.size, false, pair.glyph, ratio));
        images.emplace_back(pair.pressed, Button(pair.size, true, pair.glyph, ratio));
    }
    images.emplace_back(314, Tab(true, ratio));
    images.emplace_back(316, Tab(false, ratio));
    images.emplace_back(353, Spin(ratio));

    // Oscillator list: sine, saw, square, noise, then transition and volume.
    const std::vector<std::pair<int, std::vector<QPointF>>> waves = {
        {336, SineWave()},
        {337, {{0, 0}, {0.5, 1}, {0.5, -1}, {1, 0}}},
        {338, {{0, 0}, {0, 1}, {0.5, 1}, {0.5, -1}, {1, -1}, {1, 0}}},
        {339, {{0, 0.1}, {0.1, 0.8}, {0.2, -0.5}, {0.3, 0.4}, {0.4, -0.9}, {0.5, 0.6}, {0.6, -0.2}, {0.7, 0.9},
               {0.8, -0.7}, {0.9, 0.3}, {1, -0.4}}},
    };
    for (const auto& [id, wave] : waves) {
        QImage image = Blank(16, 16, ratio, PAPER);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        WaveTile(p, 16, wave);
        images.emplace_back(id, image);
    }
    {
        // Transition: a wave bending into another.
        QImage image = Blank(16, 16, ratio, PAPER);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        WaveTile(p, 16, {});
        p.setPen(Stroke(GREEN, 1.4));
        p.drawLine(QPointF(3.5, 8), QPointF(10, 8));
        p.setPen(Qt::NoPen);
        p.setBrush(GREEN);
        p.drawPolygon(QPolygonF({{13, 8}, {9.5, 4.5}, {9.5, 11.5}}));
        images.emplace_back(360, image);
    }
    {
        // Volume: a loudspeaker.
        QImage image = Blank(16, 16, ratio, PAPER);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        WaveTile(p, 16, {});
        p.setPen(Qt::NoPen);
        p.setBrush(INK);
        p.drawPolygon(QPolygonF({{3.5, 6}, {6, 6}, {9, 3.5}, {9, 12.5}, {6, 10}, {3.5, 10}}));
        p.setPen(Stroke(BLUE, 1.1));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(7, 4.5, 6, 7), -50 * 16, 100 * 16);
        images.emplace_back(361, image);
    }
    return images;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: sonrix_draw_bitmaps OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));

    for (const auto& [ratio, suffix] : {std::pair{1.0, ""}, std::pair{2.0, "@2x"}})
        for (const auto& [id, image] : DrawAll(ratio)) {
            const QString path = folder.filePath(QStringLiteral("%1%2.png").arg(id).arg(QLatin1String(suffix)));
            // 24 bits per pixel, like the program's bitmaps.
            if (!image.convertToFormat(QImage::Format_RGB888).save(path)) {
                std::fprintf(stderr, "sonrix_draw_bitmaps: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    return 0;
}
