#include <gtest/gtest.h>

#include "VolumeBarWnd.h"

namespace rix {
namespace {

TEST(VolumeBarWnd, ValueFromXKeepsEightPixelMargins)
{
    struct TCase {
        int x;
        int width;
        float value;
    };
    const TCase cases[] = {
        {-5, 116, 0.0f}, {0, 116, 0.0f}, {8, 116, 0.0f}, {58, 116, 0.5f},
        {108, 116, 1.0f}, {115, 116, 1.0f}, {500, 116, 1.0f}, {33, 116, 0.25f},
    };
    for (const TCase& c : cases)
        EXPECT_FLOAT_EQ(CVolumeBarWnd::ValueFromX(c.x, c.width), c.value) << c.x << " of " << c.width;
}

} // namespace
} // namespace rix
