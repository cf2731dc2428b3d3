#include <gtest/gtest.h>

#include <utility>

#include "InstrumentListGeometry.h"
#include "InstrumentValueText.h"

namespace rix {
namespace {

TEST(InstrumentText, PitchIsReadAsSemitonesAndCents)
{
    for (auto [text, cents] : {std::pair{"-0.5", -50}, {"3", 300}, {"2.123", 212}, {"abc", 0}, {"12.50", 1250},
                               {"-1.05", -105}, {".5", 50}, {"2.", 200}, {"123456789", 1234567800}})
        EXPECT_EQ(ParsePitch(text), cents) << text;
}

TEST(InstrumentText, DelayLengthIsLimitedToTheSpinRange)
{
    for (auto [text, hundredths] : {std::pair{"4", 400}, {"4.5", 450}, {"x", 0}, {"32.01", 3200}, {"-0.5", 50}})
        EXPECT_EQ(ParseDelayLength(text), hundredths) << text;
}

TEST(InstrumentText, PitchAndDelayLengthShowTwoDecimals)
{
    EXPECT_EQ(FormatPitch(1250), "12.50");
    EXPECT_EQ(FormatPitch(-105), "-1.05");
    EXPECT_EQ(FormatPitch(7), "0.07");
    EXPECT_EQ(FormatPitch(-2147483647 - 1), "-21474836.48");
    EXPECT_EQ(FormatDelayLength(400), "4.00");
}

TEST(InstrumentGeometry, ScrollingMovesItemsByTensUpToTheContentEnd)
{
    // Tops 2, 64 and 150, bottoms 62, 148 and 210.
    const CListStack stack({60, 84, 60});
    EXPECT_EQ(stack.ContentHeight(), 210);
    EXPECT_EQ(ScrollMaximum(stack.ContentHeight(), 100), 12);
    EXPECT_EQ(ScrollMaximum(50, 100), 0);
    EXPECT_EQ(ScrollMaximum(int64_t{1} << 40, 100), INT32_MAX);
    // A list 100 px high scrolled to 7 shows 70..169: item 1 and the top
    // of item 2; scrolled to 5, 50..149: the end of item 0 and item 1.
    EXPECT_EQ(stack.Visible(7, 100), (std::pair<std::size_t, std::size_t>{1, 3}));
    EXPECT_EQ(stack.Visible(5, 100), (std::pair<std::size_t, std::size_t>{0, 2}));
    EXPECT_EQ(CListStack().Visible(0, 100), (std::pair<std::size_t, std::size_t>{0, 0}));
    // Brought into view by the least scroll: items 1 and 2 end at 148 and
    // 210, item 0 starts at 2; a list lower than the item shows its top.
    EXPECT_EQ(stack.ScrollShowing(1, 0, 100), 5);
    EXPECT_EQ(stack.ScrollShowing(2, 0, 100), 11);
    EXPECT_EQ(stack.ScrollShowing(0, 12, 100), 0);
    EXPECT_EQ(stack.ScrollShowing(1, 0, 50), 6);
    EXPECT_EQ(stack.ScrollShowing(1, 6, 100), 6);
}

TEST(InstrumentGeometry, VolumesStopAtTheEnds)
{
    for (auto [x, volume] : {std::pair{61, 0}, {100, 70}, {197, 255}, {5000, 255}})
        EXPECT_EQ(OscillatorVolumeFromX(x), volume) << x;
    EXPECT_EQ(FieldFromBar(0.5f), 128);
    EXPECT_EQ(CentsFromScrollPosition(88), 1200);
    EXPECT_EQ(ScrollPositionFromCents(1250), 88);
}

} // namespace
} // namespace rix
