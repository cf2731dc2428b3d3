#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>

#include "Theme.h"

namespace rix {
namespace {

TEST(Theme, FontsOfMissingFamiliesDrawInAnInstalledSansSerif)
{
    const CTheme& theme = CTheme::Get();
    const int points[CTheme::FONT_COUNT] = {8, 8, 8, 7, 20, 10, 20, 14, 10};
    for (int index = 0; index < CTheme::FONT_COUNT; ++index) {
        const QFontInfo info(theme.Font(index));
        EXPECT_TRUE(QFontDatabase::hasFamily(info.family())) << index << " " << info.family().toStdString();
        EXPECT_EQ(info.pointSize(), points[index]) << index;
    }
}

TEST(Theme, EveryBitmapHasItsSizeAtEveryPixelRatio)
{
    const std::pair<QSize, std::vector<int>> sizes[] = {
        {{96, 19}, {314, 316}},
        {{30, 30}, {312, 313, 317, 318, 319, 320, 321, 322, 323, 324, 325, 326, 328, 329, 330, 331, 332, 333, 334,
                    335, 341, 342, 356, 357, 358, 359, 362, 363}},
        {{17, 17}, {364, 365}},
        {{16, 16}, {336, 337, 338, 339, 360, 361}},
        {{32, 32}, {343, 344, 345, 346, 347, 348, 349, 350, 351, 352}},
        {{13, 20}, {353}},
    };
    for (const auto& [size, ids] : sizes)
        for (int id : ids) {
            EXPECT_EQ(CTheme::Get().Bitmap(id).size(), size) << id;
            // Finer drawings fill the same place at a higher ratio.
            for (const qreal ratio : {1.25, 1.5, 2.0, 3.0}) {
                const QImage& fine = CTheme::Get().Bitmap(id, ratio);
                EXPECT_EQ(fine.devicePixelRatio(), ratio) << id;
                EXPECT_EQ(fine.size(), (QSizeF(size) * ratio).toSize()) << id << " at " << ratio;
            }
        }
    EXPECT_TRUE(CTheme::Get().Bitmap(315).isNull());
}

} // namespace
} // namespace rix
