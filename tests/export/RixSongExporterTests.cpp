#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "ExportTestSongs.h"

namespace rix {
namespace {

using test::Block;
using test::ExportText;
using test::Running;

std::string DefaultOscillatorRows()
{
    std::string rows;
    for (int c = 0; c < 8; ++c)
        rows += "  { 8, 0, RIXSONGOSCTYPE_SINE, " + std::to_string(c) + ", -1, 100, 0, 0 }, \n";
    return rows;
}

TEST(RixSongExporter, EmptySongIsTheWholeExpectedText)
{
    const CRixModuleData data;
    const std::string expected =
        "// Defines - move these lines into RixSongDataDefines.h\n"
        "#ifndef RIXSONGDATADEFINES_H\n"
        "#define RIXSONGDATADEFINES_H\n"
        "#define RIXSONG_LEN 0x0\n"
        "#define RIXSONG_ROWLENSAMPLES 5512\n"
        "#define RIXSONG_ENVLISTSIZE 0\n"
        "#define RIXSONG_ENVCOUNTERLISTSIZE 0\n"
        "#define RIXSONG_OSCLISTSIZE 8\n"
        "#define RIXSONG_EFFECTLISTSIZE 0\n"
        "#define RIXSONG_VOL 100\n"
        "//#define RIXSONG_ENABLE_DELAYEFFECT\n"
        "//#define RIXSONG_ENABLE_FLANGEEFFECT\n"
        "//#define RIXSONG_ENABLE_LOWPASSEFFECT\n"
        "//#define RIXSONG_ENABLE_HIGHPASSEFFECT\n"
        "//#define RIXSONG_ENABLE_RESONANCEEFFECT\n"
        "//#define RIXSONG_ENABLE_OVERDRIVEEFFECT\n"
        "#endif\n"
        "\n"
        "// Exported song data\n"
        "\n"
        "#include \"RixSongDataTypes.h\"\n"
        "\n"
        "#define NULL 0\n"
        "\n"
        "unsigned int RixSongOrderTable[] = { \n"
        "  \n"
        "};\n"
        "\n"
        "unsigned char RixSongPatternData[] = {\n"
        "// channel 1\n"
        "// channel 2\n"
        "// channel 3\n"
        "// channel 4\n"
        "// channel 5\n"
        "// channel 6\n"
        "// channel 7\n"
        "// channel 8\n"
        "};\n"
        "\n"
        "unsigned char RixSongPatternLookupTable[] = { 0, 0, 0, 0, 0, 0, 0, 0, };\n"
        "\n"
        "TRixSongEnvelope RixSongEnvList[] = { \n"
        "};\n"
        "\n"
        "TRixSongEnvelopeCounter RixSongEnvCounterList[] = {\n"
        " \n"
        "};\n"
        "\n"
        "TRixSongOscillator RixSongOscillatorList[] = {\n" +
        DefaultOscillatorRows() +
        "\n"
        "};\n"
        "\n"
        "TRixSongEffect RixSongEffectList[] = {\n"
        "\n"
        "};\n"
        "\n"
        "unsigned char RixSongChannelVol[8] = {100, 100, 100, 100, 100, 100, 100, 100 };\n"
        "unsigned char RixSongChannelEnvCounter[8] = {0, 0, 0, 0, 0, 0, 0, 0 };\n"
        "bool RixSongChannelStopNote[8] = {false, false, false, false, false, false, false, false };\n"
        "\n"
        "// End\n";
    EXPECT_EQ(ExportText(data), expected);
}

TEST(RixSongExporter, OrderTableBreaksAfterEightEntriesAndPacksChannelOneLowest)
{
    CRixModuleData data;
    for (int position = 0; position < 9; ++position)
        data.orderTable[0][position] = 1;
    data.orderTable[1][0] = 2;
    data.orderTable[7][8] = 15;
    const std::string text = ExportText(data);
    EXPECT_NE(text.find("#define RIXSONG_LEN 0x9\n"), std::string::npos);
    EXPECT_EQ(Block(text, "unsigned int RixSongOrderTable"),
              "unsigned int RixSongOrderTable[] = { \n"
              "  0x00000021, 0x00000001, 0x00000001, 0x00000001, 0x00000001, 0x00000001, 0x00000001, 0x00000001, \n"
              "  0xF0000001, \n"
              "};\n\n");
}

TEST(RixSongExporter, PatternDataWritesUsedPatternsUpToTheHighestPerChannel)
{
    CRixModuleData data;
    data.orderTable[0][0] = 3;
    data.orderTable[0][1] = 1;
    data.orderTable[2][1] = 2;
    data.patterns[0][2][0] = 5; // below channel 1's highest but unused: zeros
    data.patterns[0][3][15] = 1;
    data.patterns[2][2][1] = 58;
    // Pattern 4 holds notes but is never played.
    data.patterns[0][4][0] = 13;
    const std::string zeros = "  0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    \n";
    const std::string text = ExportText(data);
    EXPECT_EQ(Block(text, "unsigned char RixSongPatternData"),
              "unsigned char RixSongPatternData[] = {\n"
              "// channel 1\n" +
                  zeros + zeros +
                  "  0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0x00, \n"
                  "// channel 2\n"
                  "// channel 3\n" +
                  zeros +
                  "  0,    0x49, 0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    \n"
                  "// channel 4\n"
                  "// channel 5\n"
                  "// channel 6\n"
                  "// channel 7\n"
                  "// channel 8\n"
                  "};\n\n");
    EXPECT_EQ(Block(text, "unsigned char RixSongPatternLookupTable"),
              "unsigned char RixSongPatternLookupTable[] = { 0, 3, 3, 5, 5, 5, 5, 5, };\n\n");
}

TEST(RixSongExporter, RowValuesBecomeNoteBytes)
{
    const struct {
        uint32_t value;
        const char* item;
    } cases[] = {
        {0, "0,    "},     {1, "0x00, "},     {12, "0x0B, "},    {13, "0x10, "},  {58, "0x49, "},
        {113, "0x94, "},   {192, "0xFB, "},   {193, "0,    "},   {254, "0,    "}, {255, "255,  "},
        {256, "255,  "},   {0x7FFFFFFF, "255,  "}, {0x80000000, "255,  "}, {0xFFFFFFFF, "255,  "},
    };
    for (const auto& entry : cases) {
        CRixModuleData data;
        data.orderTable[0][0] = 1;
        data.patterns[0][1][0] = entry.value;
        const std::string block = Block(ExportText(data), "unsigned char RixSongPatternData");
        EXPECT_EQ(block.substr(block.find("// channel 1\n") + 13, 8), std::string("  ") + entry.item)
            << "row value " << entry.value;
    }
}

TEST(RixSongExporter, OrderEntriesAbove15PlayNothingButKeepTheSongLength)
{
    CRixModuleData data;
    data.orderTable[0][0] = 16;
    data.orderTable[1][0] = 0xFFFFFFFF;
    data.orderTable[2][1] = 0x80000001;
    const std::string text = ExportText(data);
    EXPECT_NE(text.find("#define RIXSONG_LEN 0x2\n"), std::string::npos);
    EXPECT_NE(text.find("{ \n  0x00000000, 0x00000000, \n};"), std::string::npos);
    EXPECT_NE(text.find("unsigned char RixSongPatternData[] = {\n// channel 1\n// channel 2\n// channel 3\n"),
              std::string::npos);
    EXPECT_NE(text.find("#define RIXSONG_ENVCOUNTERLISTSIZE 0\n"), std::string::npos);
}

TEST(RixSongExporter, EqualShapesShareARowButEachGetsItsOwnCounter)
{
    CRixModuleData data;
    data.orderTable[0][0] = 1;
    CRixModuleChannel& channel = data.channels[0];
    channel.AddOscillator();
    channel.oscillators[0].volumeEnvelope = Running(10);
    channel.oscillators[1].volumeEnvelope = Running(10);
    channel.oscillators[1].transitionEnvelope = {0, 256, 65, RIXRESET_TWO_PATTERNS, 4096, 6144, 8192, true, true};
    const std::string text = ExportText(data);
    EXPECT_EQ(Block(text, "TRixSongEnvelope RixSongEnvList"),
              "TRixSongEnvelope RixSongEnvList[] = { \n"
              "  { 0, 256, 65, 8, 16, 4, true, 255, }, \n"
              "  { 10, 256, 65, 8, 255, 255, true, 255, }, \n"
              "  { 0, 256, 65, 2, 3, 4, false, 1, }, \n"
              "};\n\n");
    // Channel envelope, oscillator 0 (running, then constant 256), oscillator
    // 1 (running, then the second shape). Five counters need a line break.
    EXPECT_EQ(Block(text, "TRixSongEnvelopeCounter"),
              "TRixSongEnvelopeCounter RixSongEnvCounterList[] = {\n"
              " { 0, 0, 256 }, { 1, 0, 256 }, { -1, -1, 256 }, { 1, 0, 256 }, \n"
              "  { 2, 0, 184 }, \n"
              "};\n\n");
    EXPECT_NE(text.find("  { 8, 0, RIXSONGOSCTYPE_SINE, 0, -1, 100, 1, 2 }, \n"
                        "  { 8, 0, RIXSONGOSCTYPE_SINE, 0, -1, 100, 3, 4 }, \n"),
              std::string::npos);
    EXPECT_NE(text.find("#define RIXSONG_ENVLISTSIZE 3\n#define RIXSONG_ENVCOUNTERLISTSIZE 5\n"), std::string::npos);
}

TEST(RixSongExporter, ConstantEnvelopesOfEqualValueShareOneCounterAcrossChannels)
{
    CRixModuleData data;
    data.orderTable[0][0] = 1;
    data.orderTable[1][0] = 1;
    // A constant of another value (phase 0 gives 128) gets its own counter.
    data.channels[1].oscillators[0].transitionEnvelope.phase = 0;
    const std::string text = ExportText(data);
    EXPECT_EQ(Block(text, "TRixSongEnvelope RixSongEnvList"),
              "TRixSongEnvelope RixSongEnvList[] = { \n"
              "  { 0, 256, 65, 8, 16, 4, true, 255, }, \n"
              "};\n\n");
    EXPECT_EQ(Block(text, "TRixSongEnvelopeCounter"),
              "TRixSongEnvelopeCounter RixSongEnvCounterList[] = {\n"
              " { 0, 0, 256 }, { -1, -1, 256 }, { 0, 1, 256 }, { -1, -1, 128 }, \n"
              "};\n\n");
    EXPECT_EQ(Block(text, "TRixSongOscillator"),
              "TRixSongOscillator RixSongOscillatorList[] = {\n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 0, -1, 100, 1, 1 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 1, -1, 100, 1, 3 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 2, -1, 100, 0, 0 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 3, -1, 100, 0, 0 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 4, -1, 100, 0, 0 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 5, -1, 100, 0, 0 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 6, -1, 100, 0, 0 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 7, -1, 100, 0, 0 }, \n"
              "\n};\n\n");
    EXPECT_NE(text.find("unsigned char RixSongChannelEnvCounter[8] = {0, 2, 0, 0, 0, 0, 0, 0 };\n"), std::string::npos);
}

TEST(RixSongExporter, TransitionOscillatorsFollowTheirChannelsOscillatorsAlsoOnUnusedChannels)
{
    CRixModuleData data;
    data.orderTable[0][0] = 1;
    CRixModuleChannel& used = data.channels[0];
    used.AddOscillator();
    used.AddOscillator();
    used.oscillators[0].transition = true;
    used.oscillators[2].transition = true;
    used.transitionOscillators[0] = {RIXOSC_SAW, 70, 600, Running(1), Running(2), false};
    used.transitionOscillators[2].type = RIXOSC_SQUARE;
    CRixModuleChannel& unused = data.channels[5];
    unused.oscillators[0] = {RIXOSC_NOISE, 90, 1200, Running(3), Running(4), true};
    unused.transitionOscillators[0].pitch = -1;
    const std::string text = ExportText(data);
    EXPECT_EQ(Block(text, "TRixSongOscillator"),
              "TRixSongOscillator RixSongOscillatorList[] = {\n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 0, -1, 100, 1, 1 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 0, -1, 100, 1, 1 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 0, -1, 100, 1, 1 }, \n"
              "  { 8, 106, RIXSONGOSCTYPE_SAW, 0, 0, 70, 2, 3 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SQUARE, 0, 2, 100, 1, 1 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 1, -1, 100, 0, 0 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 2, -1, 100, 0, 0 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 3, -1, 100, 0, 0 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 4, -1, 100, 0, 0 }, \n"
              "  { 9, 0, RIXSONGOSCTYPE_NOISE, 5, -1, 90, 0, 0 }, \n"
              "  { 7, 255, RIXSONGOSCTYPE_SINE, 5, 9, 100, 0, 0 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 6, -1, 100, 0, 0 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 7, -1, 100, 0, 0 }, \n"
              "\n};\n\n");
    EXPECT_NE(text.find("#define RIXSONG_OSCLISTSIZE 13\n"), std::string::npos);
}

TEST(RixSongExporter, PitchBecomesOctaveAndFineTune)
{
    const struct {
        int32_t pitch;
        int32_t octave;
        int32_t fine;
    } cases[] = {
        {0, 8, 0},       {-1, 7, 255},    {1200, 9, 0},      {600, 8, 106},     {1800, 9, 106},
        {-600, 7, 106},  {-1200, 7, 0},   {1199, 8, 255},    {100, 8, 15},      {-2401, 5, 255},
        {INT_MAX, 1789577, 161}, {INT_MIN, -1789562, 57},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(CRixSongExporter::PitchOctave(entry.pitch), entry.octave) << entry.pitch;
        EXPECT_EQ(CRixSongExporter::PitchFine(entry.pitch), entry.fine) << entry.pitch;
    }
    int32_t previous = -1;
    for (int32_t cents = 0; cents < 1200; ++cents) {
        const int32_t fine = CRixSongExporter::PitchFine(cents);
        EXPECT_GE(fine, previous) << cents;
        EXPECT_LE(fine, 255) << cents;
        previous = fine;
    }
}

TEST(RixSongExporter, InitialValueFollowsThePlayersEnvelopeFormula)
{
    const struct {
        TRixEnvelope envelope;
        int32_t value;
    } cases[] = {
        {{0, 256, 65, 3, 0, 0, 0, false, false}, 128},
        {{0, 256, 65, 3, 16384, 0, 0, false, false}, 256},
        {{0, 256, 65, 3, 32768, 0, 0, false, false}, 128},
        {{0, 256, 65, 3, 49152, 0, 0, false, false}, 0},
        {{0, 256, 65, 3, 65535, 0, 0, false, false}, 124},
        // A negative keep holds the counter below 0 from the start.
        {{0, 256, 65, 3, 16384, -16384, 0, true, false}, 128},
        {{0, 256, 65, 3, 16384, -16384, 0, false, false}, 256},
        // Truncating division: (224 × -100) / 256 = -87.5 gives -87.
        {{100, 0, 65, 3, 8192, 0, 0, false, false}, 13},
        {{-100, 100, 65, 3, 49152, 0, 0, false, false}, -100},
        // 32-bit wrap-around, never undefined behaviour.
        {{INT_MIN, INT_MAX, 65, 3, 16384, 0, 0, false, false}, INT_MAX},
        {{INT_MAX, INT_MIN, 65, 3, 0, INT_MIN, 0, true, false}, INT_MAX},
        {{0, 256, 65, 3, INT_MAX, INT_MIN, 0, true, false}, 124},
    };
    for (const auto& entry : cases)
        EXPECT_EQ(CRixSongExporter::InitialValue(entry.envelope), entry.value)
            << entry.envelope.minValue << " " << entry.envelope.maxValue << " " << entry.envelope.phase;
}

TEST(RixSongExporter, EnvelopeRowsConvertPhasesAndResetModes)
{
    const struct {
        TRixEnvelope envelope;
        const char* row;
    } cases[] = {
        {{1, 2, 3, RIXRESET_SONG, 4095, 2048, 0, true, false}, "{ 1, 2, 3, 1, 1, 255, false, 255, }"},
        {{1, 2, 3, RIXRESET_PATTERN, 65536, 131072, 131071, true, true}, "{ 1, 2, 3, 32, 64, 63, false, 0, }"},
        {{1, 2, 3, RIXRESET_TWO_PATTERNS, 0, 0, 0, false, true}, "{ 1, 2, 3, 0, 255, 0, false, 1, }"},
        {{1, 2, 3, RIXRESET_NOTE, -4095, -2048, 0, true, false}, "{ 1, 2, 3, -1, -1, 255, true, 255, }"},
        {{1, 2, 3, RIXRESET_FOUR_PATTERNS, 0, 0, 0, false, false}, "{ 1, 2, 3, 0, 255, 255, false, 3, }"},
        {{1, 2, 3, 9, 0, 0, 0, false, false}, "{ 1, 2, 3, 0, 255, 255, false, 255, }"},
    };
    for (const auto& entry : cases) {
        CRixModuleData data;
        data.orderTable[0][0] = 1;
        data.channels[0].envelope = entry.envelope;
        const std::string block = Block(ExportText(data), "TRixSongEnvelope RixSongEnvList");
        EXPECT_NE(block.find(std::string("\n  ") + entry.row + ", \n"), std::string::npos) << block;
    }
}

TEST(RixSongExporter, EveryEffectRowKind)
{
    CRixModuleData data;
    data.bpm = 175;
    data.orderTable[0][0] = 1;
    data.orderTable[2][0] = 1;
    TRixEffect delay = TRixEffect::OfType(RIXEFFECT_DELAY);
    delay.param1 = 100;
    TRixEffect flange = TRixEffect::OfType(RIXEFFECT_FLANGE);
    TRixEffect lowPass = TRixEffect::OfType(RIXEFFECT_LOWPASS);
    lowPass.envelope1 = Running(40);
    TRixEffect highPass = TRixEffect::OfType(RIXEFFECT_HIGHPASS);
    highPass.param1 = 50;
    TRixEffect resonance = TRixEffect::OfType(RIXEFFECT_RESONANCE);
    resonance.param2 = 70;
    resonance.envelope2 = Running(50);
    TRixEffect overdrive = TRixEffect::OfType(RIXEFFECT_OVERDRIVE);
    TRixEffect noLimit = TRixEffect::OfType(RIXEFFECT_OVERDRIVE);
    noLimit.param1 = 0;
    noLimit.param2 = 3;
    noLimit.envelope1 = Running(60);
    TRixEffect wrapping = TRixEffect::OfType(RIXEFFECT_DELAY);
    wrapping.param1 = -1;
    data.channels[0].effects = {delay, flange, TRixEffect::OfType(RIXEFFECT_BANDPASS), lowPass, highPass};
    data.channels[2].effects = {resonance, overdrive, noLimit, wrapping};
    // Effects of a channel the song never plays count for nothing.
    data.channels[4].effects = {TRixEffect::OfType(RIXEFFECT_RESONANCE)};
    const std::string text = ExportText(data);
    EXPECT_NE(text.find("#define RIXSONG_ROWLENSAMPLES 3779\n"), std::string::npos);
    // Counters: channel 0 envelope 0, constants 1, flange 2, low-pass 3;
    // channel 2 envelope 4, resonance 5, overdrive without limit 6.
    EXPECT_EQ(Block(text, "TRixSongEffect"),
              "TRixSongEffect RixSongEffectList[] = {\n"
              "  { 128, 0, 3779, 0, RIXSONGEFFECTTYPE_DELAY, 0, 0 }, \n"
              "  { 0, 0, 201, 0, RIXSONGEFFECTTYPE_FLANGE, 2, 0 }, \n"
              "  { 100, 0, 1, 0, RIXSONGEFFECTTYPE_LOWPASS, 3, 0 }, \n"
              "  { 50, 0, 1, 0, RIXSONGEFFECTTYPE_HIGHPASS, 1, 0 }, \n"
              "  { 100, 70, 1, 2, RIXSONGEFFECTTYPE_RESONANCE, 1, 5 }, \n"
              "  { 12700, 258, 1, 2, RIXSONGEFFECTTYPE_OVERDRIVE, 0, 1 }, \n"
              "  { 0, 98301, 1, 2, RIXSONGEFFECTTYPE_OVERDRIVE, 0, 6 }, \n"
              "  { 128, 0, 42949635, 2, RIXSONGEFFECTTYPE_DELAY, 0, 0 }, \n"
              "\n};\n\n");
    EXPECT_NE(text.find("#define RIXSONG_EFFECTLISTSIZE 8\n"
                        "#define RIXSONG_VOL 100\n"
                        "#define RIXSONG_ENABLE_DELAYEFFECT\n"
                        "#define RIXSONG_ENABLE_FLANGEEFFECT\n"
                        "#define RIXSONG_ENABLE_LOWPASSEFFECT\n"
                        "#define RIXSONG_ENABLE_HIGHPASSEFFECT\n"
                        "#define RIXSONG_ENABLE_RESONANCEEFFECT\n"
                        "#define RIXSONG_ENABLE_OVERDRIVEEFFECT\n"),
              std::string::npos);
    EXPECT_NE(text.find("#define RIXSONG_ENVCOUNTERLISTSIZE 7\n"), std::string::npos);
}

TEST(RixSongExporter, UnknownAndBandPassEffectsAndUnusedChannelsAddNoRowsOrDefines)
{
    CRixModuleData data;
    data.orderTable[1][0] = 1;
    data.channels[0].effects = {TRixEffect::OfType(RIXEFFECT_RESONANCE)};
    data.channels[1].effects = {TRixEffect::OfType(RIXEFFECT_BANDPASS), TRixEffect::OfType(99),
                                TRixEffect::OfType(-1)};
    data.channels[1].effects[0].envelope1 = Running(1);
    data.channels[1].oscillators[0].type = 7;
    const std::string text = ExportText(data);
    EXPECT_NE(text.find("#define RIXSONG_ENVLISTSIZE 1\n"
                        "#define RIXSONG_ENVCOUNTERLISTSIZE 2\n"
                        "#define RIXSONG_OSCLISTSIZE 8\n"
                        "#define RIXSONG_EFFECTLISTSIZE 0\n"
                        "#define RIXSONG_VOL 100\n"
                        "//#define RIXSONG_ENABLE_DELAYEFFECT\n"
                        "//#define RIXSONG_ENABLE_FLANGEEFFECT\n"
                        "//#define RIXSONG_ENABLE_LOWPASSEFFECT\n"
                        "//#define RIXSONG_ENABLE_HIGHPASSEFFECT\n"
                        "//#define RIXSONG_ENABLE_RESONANCEEFFECT\n"
                        "//#define RIXSONG_ENABLE_OVERDRIVEEFFECT\n"),
              std::string::npos);
    EXPECT_EQ(Block(text, "TRixSongEffect"), "TRixSongEffect RixSongEffectList[] = {\n\n};\n\n");
    EXPECT_NE(text.find("  { 8, 0, 7, 1, -1, 100, 1, 1 }, \n"), std::string::npos);
}

TEST(RixSongExporter, BrokenOscillatorListsStayConsistent)
{
    CRixModuleData data;
    data.orderTable[0][0] = 1;
    CRixModuleChannel& channel = data.channels[0];
    channel.oscillators.resize(3);
    channel.oscillators[2].transition = true; // no partner: no transition row
    channel.transitionOscillators.clear();
    data.channels[1].oscillators.clear();
    const std::string text = ExportText(data);
    EXPECT_NE(text.find("#define RIXSONG_OSCLISTSIZE 9\n"), std::string::npos);
    const std::string block = Block(text, "TRixSongOscillator");
    std::size_t rows = 0;
    for (std::size_t at = block.find("\n  {"); at != std::string::npos; at = block.find("\n  {", at + 1))
        ++rows;
    EXPECT_EQ(rows, 9u);
}

TEST(RixSongExporter, ChannelTables)
{
    CRixModuleData data;
    data.orderTable[6][3] = 1;
    data.channels[2].volume = 0;
    data.channels[6].volume = 255;
    data.channels[6].envelope.sustainEnabled = false;
    data.channels[1].envelope.sustainEnabled = false;
    const std::string text = ExportText(data);
    const std::string tail = text.substr(text.find("unsigned char RixSongChannelVol"));
    EXPECT_EQ(tail,
              "unsigned char RixSongChannelVol[8] = {100, 100, 0, 100, 100, 100, 255, 100 };\n"
              "unsigned char RixSongChannelEnvCounter[8] = {0, 0, 0, 0, 0, 0, 0, 0 };\n"
              "bool RixSongChannelStopNote[8] = {false, true, false, false, false, false, true, false };\n"
              "\n"
              "// End\n");
}

} // namespace
} // namespace rix
