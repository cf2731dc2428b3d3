#include "Theme.h"

#include <QString>
#include <memory>

// Outside any namespace, as Qt's resource registration requires.
static void RegisterThemeResources()
{
    Q_INIT_RESOURCE(sonrix3);
}

namespace rix {
namespace {

std::unique_ptr<CTheme> theme;

// The ids of the program's bitmaps (":/bitmaps/<id>.png").
constexpr int BITMAP_IDS[] = {312, 313, 314, 316, 317, 318, 319, 320, 321, 322, 323, 324, 325, 326, 328,
                              329, 330, 331, 332, 333, 334, 335, 336, 337, 338, 339, 341, 342, 343, 344,
                              345, 346, 347, 348, 349, 350, 351, 352, 353, 356, 357, 358, 359, 360, 361};

constexpr QRgb BRUSH_COLOURS[CTheme::BRUSH_COUNT] = {
    0xFF000000, 0xFF888888, 0xFFFFFF00, 0xFFEEEEEE, 0xFF888888, 0xFFCCCCCC, 0xFFD8D8D8, 0xFFDDDDDD,
    0xFFE8E8E8, 0xFFFFFFFF, 0xFFDDFFDD, 0xFFAAAAFF, 0xFFDDDDFF, 0xFFAAFFAA, 0xFFFF8888, 0xFF000000,
    0xFF00FF00, 0xFFAAFF00, 0xFFFFAA00, 0xFFFF0000, 0xFFFFFFFF, 0xFFEEEEEE, 0xFF8888FF, 0xFF000088,
    0xFF888888, 0xFFAAAAAA, 0xFFFFFFFF, 0xFFEEEEEE, 0xFFFFFFAA, 0xFFDDDDDD, 0xFF008800, 0xFFEEEEFF,
    0xFFE4E4FF, 0xFFE8E8FF, 0xFFECECFF, 0xFFF0F0FF, 0xFFE4FFE4, 0xFFE8FFE8, 0xFFECFFEC, 0xFFF0FFF0,
};

constexpr QRgb PEN_COLOURS[CTheme::PEN_COUNT] = {
    0xFFCCCCCC, 0xFF888888, 0xFF000000, 0xFFAAAAAA, 0xFFDDDDDD, 0xFF8888FF, 0xFF888888,
    0xFFFFFFFF, 0xFF888888, 0xFF0000FF, 0xFF000000, 0xFFAAAAAA, 0xFFCCCCFF, 0xFFAAAAFF,
};

struct TFontFace {
    const char* family;
    int points;
    bool bold;
};

constexpr TFontFace FONT_FACES[CTheme::FONT_COUNT] = {
    {"MS Sans Serif", 8, false}, {"MS Sans Serif", 8, true}, {"MS Sans Serif", 8, true},
    {"MS Sans Serif", 7, true},  {"MS Sans Serif", 20, true}, {"Arial", 10, true},
    {"Arial", 20, false},        {"Arial", 14, false},       {"Arial", 10, true},
};

// The family when installed; else fontconfig's best match, which is a
// metric-compatible face when there is one (Liberation Sans for Arial) and
// the generic sans-serif family otherwise.
QFont MakeFont(const TFontFace& face)
{
    QFont font(QString::fromLatin1(face.family));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(face.points);
    font.setBold(face.bold);
    return font;
}

} // namespace

void CTheme::Create()
{
    if (!theme)
        theme.reset(new CTheme());
}

void CTheme::Destroy()
{
    theme.reset();
}

const CTheme& CTheme::Get()
{
    return *theme;
}

CTheme::CTheme()
{
    RegisterThemeResources();
    for (int index : {0, 1, 2, 3, 4, 5, 6, 8, 7})
        fonts[static_cast<std::size_t>(index)] = MakeFont(FONT_FACES[index]);
    for (int index = 0; index < BRUSH_COUNT; ++index)
        brushes[static_cast<std::size_t>(index)] = QColor::fromRgba(BRUSH_COLOURS[index]);
    for (int index = 0; index < PEN_COUNT; ++index)
        pens[static_cast<std::size_t>(index)] = QColor::fromRgba(PEN_COLOURS[index]);
    for (int id : BITMAP_IDS) {
        // 24 bits per pixel like the drawings; a missing file leaves a null
        // image, which draws as nothing.
        QImage image(QStringLiteral(":/bitmaps/%1.png").arg(id));
        bitmaps.emplace(id, image.convertToFormat(QImage::Format_RGB32));
    }
}

std::span<const int> CTheme::BitmapIds()
{
    return BITMAP_IDS;
}

const QFont& CTheme::Font(int index) const
{
    return fonts.at(static_cast<std::size_t>(index));
}

QColor CTheme::Brush(int index) const
{
    return brushes.at(static_cast<std::size_t>(index));
}

QColor CTheme::Pen(int index) const
{
    return pens.at(static_cast<std::size_t>(index));
}

const QImage& CTheme::Bitmap(int resourceId) const
{
    static const QImage none;
    auto found = bitmaps.find(resourceId);
    return found == bitmaps.end() ? none : found->second;
}

} // namespace rix
