#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "ArrangementEdits.h"
#include "EnvelopeMath.h"
#include "InstrumentListGeometry.h"
#include "InstrumentValueText.h"
#include "PanelMath.h"
#include "PatternGeometry.h"
#include "RixConstants.h"
#include "RixModuleData.h"

// Every value the windows derive from the song, for every 32-bit value a
// file can hold: no overflow (the sanitizer build traps on one), and what
// becomes pixels or digits stays inside the window.
namespace rix {
namespace {

constexpr int32_t kExtremes[] = {INT32_MIN, INT32_MIN + 1, -65536, -256, -1, 0, 1, 40, 255, 256,
                                 3200, 65536, INT32_MAX - 1, INT32_MAX};

TEST(ExtremeValues, PanelsStayInsideTheirStrips)
{
    for (const int32_t value : kExtremes) {
        SCOPED_TRACE(value);
        EXPECT_TRUE(CPanelMath::VolumeHeight(value) >= 0 && CPanelMath::VolumeHeight(value) <= 100);
        EXPECT_TRUE(CPanelMath::LevelHeight(value) >= 0 && CPanelMath::LevelHeight(value) <= 110);
        const int32_t time = CPanelMath::TimeOfRow(static_cast<uint32_t>(value), value);
        EXPECT_GE(time, 0);
        EXPECT_EQ(CPanelMath::MinutesSeconds(value).size(), 5u);
        EXPECT_EQ(CPanelMath::Hundredths(value).size(), 3u);
        const int32_t volume = CPanelMath::ClampVolume(CPanelMath::MixerValueAt(value));
        EXPECT_TRUE(volume >= 0 && volume <= 255);
        CPanelMath::StripAt(value);
        CPanelMath::ScopeY(value);
    }
    EXPECT_EQ(CPanelMath::Peak(kExtremes, std::size(kExtremes)), 32767);
}

TEST(ExtremeValues, EnvelopeGraphStaysInsideItsBand)
{
    constexpr int kWidth = 400;
    constexpr int kHeight = 200;
    for (const int32_t value : kExtremes) {
        SCOPED_TRACE(value);
        const int32_t rowLength = RowLengthFromBpm(value);
        const float rows = CEnvelopeMath::RowsPerCycle(rowLength, value);
        CEnvelopeMath::SpeedFor(rowLength, rows);
        CEnvelopeMath::SpeedLine(value, rowLength, rows);
        const int position = CEnvelopeMath::RowsTrackbarPosition(rows);
        EXPECT_TRUE(position >= 0 && position < CEnvelopeMath::ROWS_STEPS);
        for (const int x : CEnvelopeMath::RowMarks(rowLength, value, kWidth))
            EXPECT_TRUE(x >= CEnvelopeMath::GRAPH_LEFT && x < kWidth);
        for (const int32_t other : {INT32_MIN, 0, INT32_MAX}) {
            TRixEnvelope envelope{value, other, value, value, value, value, value, true, true};
            for (const bool keep : {false, true}) {
                envelope.keepEnabled = keep;
                for (const int y : CEnvelopeMath::Curve(envelope, kWidth, kHeight))
                    EXPECT_TRUE(y >= CEnvelopeMath::GRAPH_TOP && y <= kHeight - CEnvelopeMath::GRAPH_BOTTOM_MARGIN);
            }
        }
        CEnvelopeMath::SustainX(TRixEnvelope{0, 0, 0, 0, 0, 0, value, false, true});
    }
}

TEST(ExtremeValues, InstrumentAndPatternTextsAndStepsStayInRange)
{
    for (const int32_t value : kExtremes) {
        SCOPED_TRACE(value);
        EXPECT_FALSE(FormatPitch(value).empty());
        EXPECT_FALSE(FormatDelayLength(value).empty());
        for (const int32_t step : {-10, 10}) {
            const int32_t length = StepDelayLength(value, step);
            EXPECT_TRUE(length >= 0 && length <= RIX_MAX_DELAY_LENGTH);
        }
        const int position = ScrollPositionFromCents(value);
        EXPECT_TRUE(position >= 0 && position <= 200);
        CentsFromScrollPosition(value);
        const int32_t volume = OscillatorVolumeFromX(value);
        EXPECT_TRUE(volume >= 0 && volume <= 255);
        EXPECT_TRUE(EffectItemHeight(value) == 0 || EffectItemHeight(value) == 60 || EffectItemHeight(value) == 84);
        CPatternGeometry::NoteName(static_cast<uint32_t>(value));

        CRixModuleData song;
        song.orderTable[7][255] = static_cast<uint32_t>(value);
        EXPECT_LT(CArrangementEdits::EditablePattern(song, 7, 255), uint32_t{RIX_PATTERNS});
    }
}

} // namespace
} // namespace rix
