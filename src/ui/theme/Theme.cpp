#include "Theme.h"

#include <QString>
#include <cmath>
#include <memory>

#include "ThemeColours.h"

// Outside any namespace, as Qt's resource registration requires.
static void RegisterThemeResources()
{
    Q_INIT_RESOURCE(sonrix3);
}

namespace rix {
namespace {

std::unique_ptr<CTheme> theme;

// The ids of the program's bitmaps (":/bitmaps/<id>.png", "<id>@2x.png").
constexpr int BITMAP_IDS[] = {312, 313, 314, 316, 317, 318, 319, 320, 321, 322, 323, 324, 325, 326, 328,
                              329, 330, 331, 332, 333, 334, 335, 336, 337, 338, 339, 341, 342, 343, 344,
                              345, 346, 347, 348, 349, 350, 351, 352, 353, 356, 357, 358, 359, 360, 361,
                              362, 363, 364, 365};

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

QImage LoadBitmap(int id, const char* suffix, CTheme::TScheme scheme)
{
    // 24 bits per pixel like the drawings; a missing file leaves a null
    // image, which draws as nothing.
    QImage image(QStringLiteral(":/bitmaps/%1%2.png").arg(id).arg(QLatin1String(suffix)));
    image = image.convertToFormat(QImage::Format_RGB32);
    return scheme == CTheme::SCHEME_DARK ? DarkenedBitmap(image) : image;
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

void CTheme::SetScheme(TScheme scheme)
{
    if (theme->scheme == scheme)
        return;
    theme->scheme = scheme;
    ++theme->generation;
    const TSchemeColours& colours = SchemeColours(scheme == SCHEME_DARK);
    for (int index = 0; index < BRUSH_COUNT; ++index)
        theme->brushes[static_cast<std::size_t>(index)] = QColor::fromRgba(colours.brushes[index]);
    for (int index = 0; index < PEN_COUNT; ++index)
        theme->pens[static_cast<std::size_t>(index)] = QColor::fromRgba(colours.pens[index]);
    theme->LoadBitmaps();
}

CTheme::CTheme()
{
    RegisterThemeResources();
    for (int index : {0, 1, 2, 3, 4, 5, 6, 8, 7})
        fonts[static_cast<std::size_t>(index)] = MakeFont(FONT_FACES[index]);
    const TSchemeColours& colours = SchemeColours(false);
    for (int index = 0; index < BRUSH_COUNT; ++index)
        brushes[static_cast<std::size_t>(index)] = QColor::fromRgba(colours.brushes[index]);
    for (int index = 0; index < PEN_COUNT; ++index)
        pens[static_cast<std::size_t>(index)] = QColor::fromRgba(colours.pens[index]);
    LoadBitmaps();
}

void CTheme::LoadBitmaps()
{
    scaled.clear();
    for (int id : BITMAP_IDS) {
        bitmaps[id] = LoadBitmap(id, "", scheme);
        bitmaps2x[id] = LoadBitmap(id, "@2x", scheme);
        bitmaps2x[id].setDevicePixelRatio(2);
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

const QImage& CTheme::Bitmap(int resourceId, qreal ratio) const
{
    const int hundredths = static_cast<int>(std::lround(ratio * 100));
    if (hundredths <= 100)
        return Bitmap(resourceId);
    auto found = bitmaps2x.find(resourceId);
    if (found == bitmaps2x.end() || hundredths == 200)
        return found == bitmaps2x.end() ? Bitmap(resourceId) : found->second;
    QImage& image = scaled[{resourceId, hundredths}];
    if (image.isNull()) {
        // From the finer drawing, smoothly: 125 % and 150 % shrink it,
        // larger ratios enlarge it.
        const QSize size = Bitmap(resourceId).size();
        image = found->second.scaled(static_cast<int>(std::lround(size.width() * ratio)),
                                     static_cast<int>(std::lround(size.height() * ratio)), Qt::IgnoreAspectRatio,
                                     Qt::SmoothTransformation);
        image.setDevicePixelRatio(ratio);
    }
    return image;
}

} // namespace rix
