#include <gtest/gtest.h>

#include <algorithm>

#include "EnvelopeMath.h"

namespace rix {
namespace {

// 120 BPM.
constexpr int32_t ROW_LENGTH = 5512;

TEST(EnvelopeMath, CurveSpansTheBandOnceEvery128Pixels)
{
    constexpr int WIDTH = 360;
    constexpr int HEIGHT = 188;
    // Held by keep at its start (phase a quarter cycle: the top).
    const std::vector<int> held = CEnvelopeMath::Curve(TRixEnvelope::Default(), WIDTH, HEIGHT);
    ASSERT_EQ(held.size(), std::size_t{WIDTH - 40});
    EXPECT_TRUE(std::all_of(held.begin(), held.end(), [](int y) { return y == 20; }));

    TRixEnvelope free = TRixEnvelope::Default();
    free.keepEnabled = false;
    const std::vector<int> curve = CEnvelopeMath::Curve(free, WIDTH, HEIGHT);
    EXPECT_EQ(*std::min_element(curve.begin(), curve.end()), 20);
    EXPECT_EQ(*std::max_element(curve.begin(), curve.end()), HEIGHT - 21);
    EXPECT_EQ(curve[0], curve[128]);
    EXPECT_EQ(curve[64], HEIGHT - 21);

    // Equal bounds (possible in loaded files) must not divide by zero.
    free.maxValue = free.minValue;
    EXPECT_EQ(CEnvelopeMath::Curve(free, WIDTH, HEIGHT)[10], HEIGHT - 21);
}

TEST(EnvelopeMath, RowMarksThinOutAndStopForSpeedZero)
{
    struct TCase { int32_t speed; std::vector<int> firstMarks; };
    const TCase cases[] = {
        {65, {56, 72, 88}},   // 8142 phase units a row: one mark each 15.9 pixels
        {6, {64, 87, 111}},   // 751 a row: one mark per 16 rows
        {0, {}},
        {-5, {}},
    };
    for (const TCase& c : cases) {
        std::vector<int> marks = CEnvelopeMath::RowMarks(ROW_LENGTH, c.speed, 300);
        marks.resize(std::min(marks.size(), c.firstMarks.size()));
        EXPECT_EQ(marks, c.firstMarks) << c.speed;
    }
}

} // namespace
} // namespace rix
