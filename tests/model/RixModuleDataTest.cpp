#include <gtest/gtest.h>

#include <random>

#include "RixModuleData.h"

using namespace rix;

namespace {

void ExpectResetChannel(const CRixModuleChannel& channel)
{
    EXPECT_EQ(channel.volume, 100);
    ASSERT_EQ(channel.oscillators.size(), 1u);
    ASSERT_EQ(channel.transitionOscillators.size(), 1u);
    EXPECT_EQ(channel.oscillators[0], TRixOscillator());
    EXPECT_EQ(channel.transitionOscillators[0], TRixOscillator());
    EXPECT_TRUE(channel.effects.empty());
    const TRixEnvelope expected{0, 256, 65, 3, 16384, 32768, 8192, true, true};
    EXPECT_EQ(channel.envelope, expected);
}

} // namespace

TEST(RixModuleData, NewSongHasTheDefaults)
{
    CRixModuleData data;
    EXPECT_EQ(data.bpm, 120);
    EXPECT_EQ(data.masterVolume, 100);
    EXPECT_EQ(data.GetSongLength(), 0);
    for (const auto& channel : data.channels)
        ExpectResetChannel(channel);
    for (const auto& table : data.orderTable)
        for (uint32_t entry : table)
            ASSERT_EQ(entry, 0u);

    const TRixOscillator oscillator;
    const TRixEnvelope plain{0, 256, 65, 3, 16384, 0, 0, true, false};
    EXPECT_EQ(oscillator.type, RIXOSC_SINE);
    EXPECT_EQ(oscillator.volume, 100);
    EXPECT_EQ(oscillator.pitch, 0);
    EXPECT_EQ(oscillator.volumeEnvelope, plain);
    EXPECT_EQ(oscillator.transitionEnvelope, plain);
    EXPECT_FALSE(oscillator.transition);
}

TEST(RixModuleData, ResetClearsEverythingAgain)
{
    CRixModuleData data;
    data.bpm = 7;
    data.masterVolume = -3;
    data.orderTable[3][200] = 9;
    data.patterns[7][15][15] = 255;
    data.channels[2].volume = 1;
    data.channels[2].AddOscillator();
    data.channels[2].effects.push_back(TRixEffect::OfType(RIXEFFECT_RESONANCE));
    data.Reset();
    EXPECT_EQ(data, CRixModuleData());

    data.channels[5].envelope.keep = 1;
    data.ResetChannel(5);
    ExpectResetChannel(data.channels[5]);
    data.ResetChannel(8); // out of range: nothing
}

TEST(RixEffect, TypeDefaultsLeaveOtherMembersAlone)
{
    const TRixEnvelope plain = TRixEnvelope::Default();
    const TRixEffect fresh;
    EXPECT_EQ(fresh.type, RIXEFFECT_DELAY);
    EXPECT_EQ(fresh.param1, 400);
    EXPECT_EQ(fresh.param2, 128);
    EXPECT_EQ(fresh.envelope1, plain);
    EXPECT_EQ(fresh.envelope2, plain);

    struct Case {
        int32_t type;
        int32_t param1, param2;
        TRixEnvelope envelope1;
    };
    const TRixEnvelope flange{100, 200, 65, 0, 16384, 0, 0, false, false};
    const Case cases[] = {
        {RIXEFFECT_DELAY, 400, 128, plain},      {RIXEFFECT_FLANGE, 400, 128, flange},
        {RIXEFFECT_LOWPASS, 100, 128, plain},    {RIXEFFECT_HIGHPASS, 100, 128, plain},
        {RIXEFFECT_RESONANCE, 100, 100, plain},  {RIXEFFECT_OVERDRIVE, 100, 100, plain},
        {RIXEFFECT_BANDPASS, 100, 100, plain},
    };
    for (const Case& c : cases) {
        const TRixEffect effect = TRixEffect::OfType(c.type);
        EXPECT_EQ(effect.type, c.type);
        EXPECT_EQ(effect.param1, c.param1) << c.type;
        EXPECT_EQ(effect.param2, c.param2) << c.type;
        EXPECT_EQ(effect.envelope1, c.envelope1) << c.type;
    }

    // Switching type keeps what the new type does not set.
    TRixEffect effect;
    effect.param1 = 7;
    effect.param2 = 8;
    effect.envelope2.speed = 99;
    effect.SetType(RIXEFFECT_FLANGE);
    EXPECT_EQ(effect.param1, 7);
    EXPECT_EQ(effect.param2, 8);
    EXPECT_EQ(effect.envelope2.speed, 99);
    effect.SetType(RIXEFFECT_HIGHPASS);
    EXPECT_EQ(effect.param2, 8);
    EXPECT_EQ(effect.envelope2.speed, 99);
}

TEST(RixModuleData, OrderPositionsInsertAndDelete)
{
    CRixModuleData data;
    for (int channel = 0; channel < RIX_CHANNELS; ++channel)
        for (int position = 0; position < RIX_ORDER_POSITIONS; ++position)
            data.orderTable[channel][position] = 1 + (position + channel) % 15;

    CRixModuleData inserted = data;
    inserted.InsertOrderPosition(10);
    CRixModuleData deleted = data;
    deleted.DeleteOrderPosition(0);
    CRixModuleData atEnd = data;
    atEnd.InsertOrderPosition(255);
    CRixModuleData outside = data;
    outside.InsertOrderPosition(256);
    outside.DeleteOrderPosition(1000);

    for (int channel = 0; channel < RIX_CHANNELS; ++channel) {
        const uint32_t* before = data.orderTable[channel];
        for (int position = 0; position < RIX_ORDER_POSITIONS; ++position) {
            const uint32_t expectInserted = position < 10 ? before[position] : position == 10 ? 0 : before[position - 1];
            EXPECT_EQ(inserted.orderTable[channel][position], expectInserted);
            EXPECT_EQ(deleted.orderTable[channel][position], position == 255 ? 0 : before[position + 1]);
            EXPECT_EQ(atEnd.orderTable[channel][position], position == 255 ? 0 : before[position]);
        }
    }
    EXPECT_EQ(outside, data);
}

TEST(RixModuleData, RowsInsertAndDeleteWithinOnePattern)
{
    CRixModuleData data;
    for (int row = 0; row < RIX_ROWS; ++row) {
        data.patterns[3][4][row] = 10 + row;
        data.patterns[3][5][row] = 50 + row;
    }
    CRixModuleData edited = data;
    edited.InsertRow(3, 4, 2);
    EXPECT_EQ(edited.patterns[3][4][1], 11u);
    EXPECT_EQ(edited.patterns[3][4][2], 0u);
    EXPECT_EQ(edited.patterns[3][4][3], 12u);
    EXPECT_EQ(edited.patterns[3][4][15], 24u);
    EXPECT_EQ(edited.patterns[3][5][0], 50u); // the next pattern is untouched

    edited = data;
    edited.DeleteRow(3, 4, 2);
    EXPECT_EQ(edited.patterns[3][4][2], 13u);
    EXPECT_EQ(edited.patterns[3][4][14], 25u);
    EXPECT_EQ(edited.patterns[3][4][15], 0u);

    for (auto edit : {&CRixModuleData::InsertRow, &CRixModuleData::DeleteRow}) {
        edited = data;
        (edited.*edit)(3, 4, 15);
        EXPECT_EQ(edited.patterns[3][4][15], 0u);
        EXPECT_EQ(edited.patterns[3][4][14], 24u);
        edited = data;
        (edited.*edit)(8, 4, 0);
        (edited.*edit)(3, 16, 0);
        (edited.*edit)(3, 4, 16);
        EXPECT_EQ(edited, data);
    }
}

TEST(RixModuleData, FindEmptyPatternAndSongLength)
{
    CRixModuleData data;
    EXPECT_EQ(data.FindEmptyPattern(0), 1);
    data.patterns[0][1][15] = 1;
    data.orderTable[0][0] = 2; // used in the order table but empty: still found
    EXPECT_EQ(data.FindEmptyPattern(0), 2);
    for (int pattern = 1; pattern < RIX_PATTERNS; ++pattern)
        data.patterns[0][pattern][pattern] = 255;
    EXPECT_EQ(data.FindEmptyPattern(0), 0); // pattern 0 is empty but never offered
    EXPECT_EQ(data.FindEmptyPattern(8), 0);

    CRixModuleData song;
    song.orderTable[7][255] = 1;
    EXPECT_EQ(song.GetSongLength(), 256);
    song.orderTable[7][255] = 0;
    song.orderTable[2][4] = 16; // any non-zero value counts
    song.orderTable[5][1] = 3;
    EXPECT_EQ(song.GetSongLength(), 5);
}

TEST(RixModuleData, RowLengthFollowsTheTempo)
{
    const struct {
        int32_t bpm;
        int32_t samples;
    } cases[] = {
        {120, 5512}, {125, 5292}, {175, 3779}, {147, 4499}, {60, 11025}, {1, 661499},
        {0, 661499}, {-5, 661499}, {INT32_MIN, 661499}, {10000000, 1}, {INT32_MAX, 1},
    };
    CRixModuleData data;
    for (const auto& c : cases) {
        data.bpm = c.bpm;
        EXPECT_EQ(data.GetRowLength(), c.samples) << c.bpm;
        EXPECT_EQ(RowLengthFromBpm(c.bpm), c.samples) << c.bpm;
    }
}

TEST(RixModuleChannel, OscillatorListsStayParallelUnderRandomEdits)
{
    std::mt19937 random(1234);
    CRixModuleChannel channel;
    for (int step = 0; step < 5000; ++step) {
        const std::size_t size = channel.oscillators.size();
        const std::size_t a = random() % (size + 2);
        const std::size_t b = random() % (size + 2);
        TRixOscillator carrier;
        carrier.pitch = step;
        TRixOscillator modulator;
        modulator.pitch = -step;
        switch (random() % 4) {
        case 0:
            channel.AddOscillator();
            break;
        case 1:
            channel.InsertOscillator(a, carrier, modulator);
            break;
        case 2:
            channel.RemoveOscillator(a);
            break;
        default:
            channel.MoveOscillator(a, b);
            break;
        }
        ASSERT_EQ(channel.oscillators.size(), channel.transitionOscillators.size());
        // Pairs inserted together stay together wherever they move.
        for (std::size_t i = 0; i < channel.oscillators.size(); ++i)
            ASSERT_EQ(channel.oscillators[i].pitch, -channel.transitionOscillators[i].pitch);
    }
}
