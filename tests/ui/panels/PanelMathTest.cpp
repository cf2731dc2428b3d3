#include <gtest/gtest.h>

#include <string>

#include "PanelMath.h"

namespace rix {
namespace {

TEST(PanelMathTest, TypedTempoIsClampedToTheTempoRange)
{
    const struct { const char* text; int32_t bpm; } cases[] = {
        {"30", 40}, {"300", 255}, {"abc", 40}, {"", 40}, {"125", 125}, {"140x", 140}, {"-5", 40},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CPanelMath::ParseBpm(c.text), c.bpm) << c.text;
}

TEST(PanelMathTest, TimeCounterShowsRowStartsAndWrapsTheMinutes)
{
    const struct { uint32_t row; int32_t bpm; const char* shown; } cases[] = {
        {16, 125, "00:01.92"}, // 5292 samples a row, 0.12 s
        {0, 120, "00:00.00"},
        {1000, 125, "02:00.00"},
        {50000, 125, "40:00.00"}, // 100 minutes: the minutes wrap after 59
    };
    for (const auto& c : cases) {
        const int32_t time = CPanelMath::TimeOfRow(c.row, c.bpm);
        EXPECT_EQ(CPanelMath::MinutesSeconds(time) + CPanelMath::Hundredths(time), c.shown) << c.row;
    }
}

TEST(PanelMathTest, MixerPressesInsideTheTrackAndJustBelowItCount)
{
    const struct { int32_t y; bool counts; int32_t volume; } cases[] = {
        {125, true, 0}, {25, true, 255}, {75, true, 128}, {129, true, 0}, {130, false, 0}, {20, false, 0},
    };
    for (const auto& c : cases) {
        const int32_t value = CPanelMath::MixerValueAt(c.y);
        EXPECT_EQ(CPanelMath::IsMixerClick(value), c.counts) << c.y;
        if (c.counts) {
            EXPECT_EQ(CPanelMath::ClampVolume(value), c.volume) << c.y;
        }
    }
    EXPECT_EQ(CPanelMath::StripAt(24), 0);
    EXPECT_EQ(CPanelMath::StripAt(63), 0);
    EXPECT_EQ(CPanelMath::StripAt(64), 1);
    EXPECT_EQ(CPanelMath::StripAt(343), 7);
}

TEST(PanelMathTest, PeaksCountPositiveSamplesOnlyAndScopeSpansTheCell)
{
    const int32_t samples[] = {-30000, 1200, 40000, -5};
    EXPECT_EQ(CPanelMath::Peak(samples, 2), 1200);
    EXPECT_EQ(CPanelMath::Peak(samples, 4), 32767);
    EXPECT_EQ(CPanelMath::Peak(samples, 1), 0);
    EXPECT_EQ(CPanelMath::ScopeY(0), 15);
    EXPECT_EQ(CPanelMath::ScopeY(32767), -14);
    EXPECT_EQ(CPanelMath::ScopeY(-32768), 45);
}

TEST(PanelMathTest, SoloIsolatesAChannelAndASecondSoloRestoresAll)
{
    std::array<bool, 8> all{};
    all.fill(true);
    const std::array<bool, 8> solo = CPanelMath::Solo(all, 2);
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(solo[c], c == 2) << c;
    EXPECT_EQ(CPanelMath::Solo(solo, 2), all);
    // With another channel already off, a right click turns all on.
    std::array<bool, 8> oneOff = all;
    oneOff[5] = false;
    EXPECT_EQ(CPanelMath::Solo(oneOff, 2), all);
}

} // namespace
} // namespace rix
