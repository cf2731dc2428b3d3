#include "ThemeColours.h"

#include <algorithm>

namespace rix {

namespace {

constexpr TSchemeColours LIGHT = {
    {
        0xFF000000, 0xFF888888, 0xFFFFFF00, 0xFFEEEEEE, 0xFF888888, 0xFFCCCCCC, 0xFFD8D8D8, 0xFFDDDDDD,
        0xFFE8E8E8, 0xFFFFFFFF, 0xFFDDFFDD, 0xFFAAAAFF, 0xFFDDDDFF, 0xFFAAFFAA, 0xFFFF8888, 0xFF000000,
        0xFF00FF00, 0xFFAAFF00, 0xFFFFAA00, 0xFFFF0000, 0xFFFFFFFF, 0xFFEEEEEE, 0xFF8888FF, 0xFF000088,
        0xFF888888, 0xFFAAAAAA, 0xFFFFFFFF, 0xFFEEEEEE, 0xFFFFFFAA, 0xFFDDDDDD, 0xFF008800, 0xFFEEEEFF,
        0xFFE4E4FF, 0xFFE8E8FF, 0xFFECECFF, 0xFFF0F0FF, 0xFFE4FFE4, 0xFFE8FFE8, 0xFFECFFEC, 0xFFF0FFF0,
    },
    {
        0xFFCCCCCC, 0xFF888888, 0xFF000000, 0xFFAAAAAA, 0xFFDDDDDD, 0xFF8888FF, 0xFF888888,
        0xFFFFFFFF, 0xFF888888, 0xFF0000FF, 0xFF000000, 0xFFAAAAAA, 0xFFCCCCFF, 0xFFAAAAFF,
    },
};

// Light text on charcoal: every text brush (B0, B4, B24, B30) keeps a
// contrast of at least 4.5:1 on every background it is drawn on; the drop
// shadow (B25) falls black.
constexpr TSchemeColours DARK = {
    {
        0xFFE8E8E8, 0xFF9A9A9A, 0xFF6E6A1E, 0xFF151515, 0xFFA8A8A8, 0xFF3C3C3C, 0xFF343434, 0xFF2E2E2E,
        0xFF2A2A2A, 0xFF1C1C1C, 0xFF1F3A27, 0xFF3A4A9A, 0xFF2B3358, 0xFF2F6F3F, 0xFF7A2A2A, 0xFF000000,
        0xFF00E000, 0xFF88CC00, 0xFFE09000, 0xFFFF3030, 0xFFFFFFFF, 0xFF3A3A3A, 0xFF7080E8, 0xFF4858C8,
        0xFFA0A0A0, 0xFF000000, 0xFF1C1C1C, 0xFF262626, 0xFF4A4A20, 0xFF2E2E2E, 0xFF66D17F, 0xFF262A38,
        0xFF232736, 0xFF252937, 0xFF272B39, 0xFF292D3B, 0xFF233026, 0xFF253228, 0xFF27342A, 0xFF29362C,
    },
    {
        0xFF5C5C5C, 0xFF111111, 0xFF000000, 0xFF5A5A5A, 0xFF3A3A3A, 0xFF8090FF, 0xFF666666,
        0xFFFFFFFF, 0xFF888888, 0xFFA8B4FF, 0xFF8A8A8A, 0xFF5A5A5A, 0xFF3A3F58, 0xFF4A5088,
    },
};

} // namespace

const TSchemeColours& SchemeColours(bool dark)
{
    return dark ? DARK : LIGHT;
}

QImage DarkenedBitmap(const QImage& image)
{
    QImage dark = image;
    for (int y = 0; y < dark.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(dark.scanLine(y));
        for (int x = 0; x < dark.width(); ++x) {
            const QColor colour = QColor::fromRgb(line[x]).toHsl();
            const float lightness = colour.lightnessF();
            // Greys (saturation below 0.25) turn over fully, colours above
            // 0.45 not at all, with a blend between for anti-aliased edges.
            // Turned over, white faces become dark grey (0.16) and the ink
            // light (0.7), not black and white.
            const float grey = 1.0f - std::clamp((colour.hslSaturationF() - 0.25f) / 0.2f, 0.0f, 1.0f);
            const float turned = 0.88f - 0.76f * lightness;
            const float mixed = grey * turned + (1.0f - grey) * lightness;
            line[x] = QColor::fromHslF(colour.hslHueF(), colour.hslSaturationF(), mixed).rgb();
        }
    }
    return dark;
}

} // namespace rix
