#include <gtest/gtest.h>

#include "InstrumentListGeometry.h"
#include "InstrumentValueText.h"

namespace rix {
namespace {

TEST(InstrumentText, PitchIsReadAsSemitonesAndCents)
{
    const struct {
        const char* text;
        int32_t cents;
    } cases[] = {{"-0.5", -50}, {"3", 300}, {"2.123", 212}, {"abc", 0},   {"12.50", 1250}, {"-1.05", -105},
                 {"0.07", 7},   {".5", 50}, {"-3", -300},   {"2.", 200},  {"123456789", 1234567800}};
    for (const auto& c : cases)
        EXPECT_EQ(ParsePitch(c.text), c.cents) << c.text;
}

TEST(InstrumentText, PitchAndDelayLengthShowTwoDecimals)
{
    EXPECT_EQ(FormatPitch(1250), "12.50");
    EXPECT_EQ(FormatPitch(-105), "-1.05");
    EXPECT_EQ(FormatPitch(7), "0.07");
    EXPECT_EQ(FormatDelayLength(400), "4.00");
    EXPECT_EQ(FormatPitch(-2147483647 - 1), "-21474836.48");
}

TEST(InstrumentText, DelayLengthIsLimitedToTheSpinRange)
{
    const struct {
        const char* text;
        int32_t hundredths;
    } cases[] = {{"4", 400},  {"4.257", 425}, {"4.5", 450}, {".5", 50},    {"2.", 200},
                 {"40", 3200}, {"-1", 0},      {"x", 0},     {"32.01", 3200}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseDelayLength(c.text), c.hundredths) << c.text;
}

TEST(InstrumentGeometry, ItemsStackTwoPixelsApartAndScrollByTens)
{
    EXPECT_EQ(StackItems({60, 84, 60}, 0), (std::vector<int>{2, 64, 150}));
    EXPECT_EQ(StackItems({60, 84}, 3), (std::vector<int>{-28, 34}));
    EXPECT_EQ(ContentHeight({60, 84}), 148);
    EXPECT_EQ(ScrollMaximum(148, 100), 5);
    EXPECT_EQ(ScrollMaximum(50, 100), 0);
    EXPECT_EQ(EffectItemHeight(3), 60);
    EXPECT_EQ(EffectItemHeight(6), 84);
    EXPECT_EQ(EffectItemHeight(7), 0);
}

TEST(InstrumentGeometry, VolumesStopAtTheEnds)
{
    EXPECT_EQ(OscillatorVolumeFromX(61), 0);
    EXPECT_EQ(OscillatorVolumeFromX(100), 70);
    EXPECT_EQ(OscillatorVolumeFromX(197), 255);
    EXPECT_EQ(OscillatorVolumeFromX(5000), 255);
    EXPECT_EQ(FieldFromBar(0.0f), 0);
    EXPECT_EQ(FieldFromBar(1.0f), 255);
    EXPECT_EQ(FieldFromBar(0.5f), 128);
    EXPECT_EQ(CentsFromScrollPosition(112), 1200);
}

} // namespace
} // namespace rix
