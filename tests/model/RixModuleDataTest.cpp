#include <gtest/gtest.h>

#include <random>

#include "RixModuleData.h"

using namespace rix;

// The effect editor switches a record's type in place: what the new type
// does not set stays as the musician left it.
TEST(RixEffect, SwitchingTypeKeepsWhatTheNewTypeDoesNotSet)
{
    TRixEffect effect;
    effect.param1 = 7;
    effect.param2 = 8;
    effect.envelope2.speed = 99;
    effect.SetType(RIXEFFECT_FLANGE);
    EXPECT_EQ(effect, (TRixEffect{RIXEFFECT_FLANGE, {100, 200, 65, 0, 16384, 0, 0, false, false}, effect.envelope2, 7, 8}));
    effect.SetType(RIXEFFECT_HIGHPASS);
    EXPECT_EQ(effect.param1, 100);
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
