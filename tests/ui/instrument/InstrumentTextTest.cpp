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
    EXPECT_EQ(StackItems({60, 84}, 3), (std::vector<int>{-28, 34}));
    EXPECT_EQ(ScrollMaximum(ContentHeight({60, 84}), 100), 5);
    EXPECT_EQ(ScrollMaximum(50, 100), 0);
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
