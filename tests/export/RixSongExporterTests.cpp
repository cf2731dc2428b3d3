#include <gmock/gmock.h>

#include <climits>
#include <string>

#include "RixSongExporter.h"
#include "nexilon/MemoryStream.h"

namespace rix {
namespace {

using testing::HasSubstr;

std::string ExportText(const CRixModuleData& data)
{
    nexilon::CPtr<nexilon::IMemoryOutputStream> stream = nexilon::CreateMemoryOutputStream();
    CRixSongExporter().Export(data, *stream);
    return stream->GetBytes();
}

// The block that starts with the opening text, through its "};\n" and the blank line after it.
std::string Block(const std::string& text, const std::string& opening)
{
    const std::size_t start = text.find(opening);
    return start == std::string::npos ? "<no " + opening + ">" : text.substr(start, text.find("};\n", start) + 4 - start);
}

// A non-constant envelope (no keep point) with a recognisable minimum.
TRixEnvelope Running(int32_t minValue)
{
    return {minValue, 256, 65, RIXRESET_NOTE, 16384, 0, 0, false, false};
}

TEST(RixSongExporter, OrderTableAndPatternDataHoldThePlayedPatterns)
{
    CRixModuleData data;
    data.orderTable[0][0] = 3;
    for (int position = 1; position < 9; ++position)
        data.orderTable[0][position] = 1;
    data.orderTable[2][1] = 2;
    data.orderTable[7][8] = 1;
    // Entries above 15 play nothing: written as 0, marking no pattern.
    data.orderTable[1][0] = 16;
    data.orderTable[3][1] = 0xFFFFFFFF;
    data.patterns[0][2][0] = 5; // below channel 1's highest but unused: zeros
    data.patterns[0][3][15] = 1;
    data.patterns[2][2][1] = 58;
    data.patterns[0][4][0] = 13; // never played
    const std::string zeros = "  0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    \n";
    const std::string text = ExportText(data);
    EXPECT_THAT(text, HasSubstr("#define RIXSONG_LEN 0x9\n"));
    EXPECT_EQ(Block(text, "unsigned int RixSongOrderTable"),
              "unsigned int RixSongOrderTable[] = { \n"
              "  0x00000003, 0x00000201, 0x00000001, 0x00000001, 0x00000001, 0x00000001, 0x00000001, 0x00000001, \n"
              "  0x10000001, \n"
              "};\n\n");
    EXPECT_EQ(Block(text, "unsigned char RixSongPatternData"),
              "unsigned char RixSongPatternData[] = {\n// channel 1\n" + zeros + zeros +
                  "  0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0x00, \n"
                  "// channel 2\n// channel 3\n" +
                  zeros +
                  "  0,    0x49, 0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    \n"
                  "// channel 4\n// channel 5\n// channel 6\n// channel 7\n// channel 8\n" +
                  zeros + "};\n\n");
    EXPECT_EQ(Block(text, "unsigned char RixSongPatternLookupTable"),
              "unsigned char RixSongPatternLookupTable[] = { 0, 3, 3, 5, 5, 5, 5, 5, };\n\n");
}

TEST(RixSongExporter, RowValuesBecomeNoteBytes)
{
    const struct { uint32_t value; const char* item; } cases[] = {
        {0, "0,    "},   {1, "0x00, "},   {12, "0x0B, "},  {13, "0x10, "},  {58, "0x49, "},  {113, "0x94, "},
        {192, "0xFB, "}, {193, "0,    "}, {254, "0,    "}, {255, "255,  "}, {256, "255,  "}, {0x7FFFFFFF, "255,  "},
        {0x80000000, "255,  "}, {0xFFFFFFFF, "255,  "},
    };
    for (const auto& entry : cases) {
        CRixModuleData data;
        data.orderTable[0][0] = 1;
        data.patterns[0][1][0] = entry.value;
        EXPECT_THAT(ExportText(data), HasSubstr(std::string("// channel 1\n  ") + entry.item)) << entry.value;
    }
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
    EXPECT_THAT(text, HasSubstr("#define RIXSONG_ENVLISTSIZE 3\n#define RIXSONG_ENVCOUNTERLISTSIZE 5\n"));
    EXPECT_EQ(Block(text, "TRixSongEnvelope RixSongEnvList"),
              "TRixSongEnvelope RixSongEnvList[] = { \n"
              "  { 0, 256, 65, 8, 16, 4, true, 255, }, \n"
              "  { 10, 256, 65, 8, 255, 255, true, 255, }, \n"
              "  { 0, 256, 65, 2, 3, 4, false, 1, }, \n"
              "};\n\n");
    // Channel, oscillator 0 (running, constant 256), oscillator 1 (running, second shape); 4 per line.
    EXPECT_EQ(Block(text, "TRixSongEnvelopeCounter"),
              "TRixSongEnvelopeCounter RixSongEnvCounterList[] = {\n"
              " { 0, 0, 256 }, { 1, 0, 256 }, { -1, -1, 256 }, { 1, 0, 256 }, \n"
              "  { 2, 0, 184 }, \n"
              "};\n\n");
    EXPECT_THAT(text, HasSubstr("  { 8, 0, RIXSONGOSCTYPE_SINE, 0, -1, 100, 1, 2 }, \n"
                                "  { 8, 0, RIXSONGOSCTYPE_SINE, 0, -1, 100, 3, 4 }, \n"));
}

TEST(RixSongExporter, ConstantEnvelopesOfEqualValueShareOneCounterAcrossChannels)
{
    CRixModuleData data;
    data.orderTable[0][0] = 1;
    data.orderTable[1][0] = 1;
    // A constant of another value (phase 0 gives 128) gets its own counter.
    data.channels[1].oscillators[0].transitionEnvelope.phase = 0;
    // Volumes and note stops are written for every channel, played or not.
    data.channels[2].volume = 0;
    data.channels[6].volume = 255;
    data.channels[3].envelope.sustainEnabled = false;
    data.channels[6].envelope.sustainEnabled = false;
    data.channels[3].effects = {TRixEffect::OfType(RIXEFFECT_DELAY)}; // never played: no define
    const std::string text = ExportText(data);
    EXPECT_THAT(text, HasSubstr("#define RIXSONG_EFFECTLISTSIZE 0\n#define RIXSONG_VOL 100\n"
                                "//#define RIXSONG_ENABLE_DELAYEFFECT\n"));
    EXPECT_EQ(Block(text, "TRixSongEnvelope RixSongEnvList"),
              "TRixSongEnvelope RixSongEnvList[] = { \n  { 0, 256, 65, 8, 16, 4, true, 255, }, \n};\n\n");
    EXPECT_EQ(Block(text, "TRixSongEnvelopeCounter"),
              "TRixSongEnvelopeCounter RixSongEnvCounterList[] = {\n"
              " { 0, 0, 256 }, { -1, -1, 256 }, { 0, 1, 256 }, { -1, -1, 128 }, \n"
              "};\n\n");
    EXPECT_THAT(text, HasSubstr("  { 8, 0, RIXSONGOSCTYPE_SINE, 0, -1, 100, 1, 1 }, \n"
                                "  { 8, 0, RIXSONGOSCTYPE_SINE, 1, -1, 100, 1, 3 }, \n"));
    EXPECT_EQ(text.substr(text.find("unsigned char RixSongChannelVol")),
              "unsigned char RixSongChannelVol[8] = {100, 100, 0, 100, 100, 100, 255, 100 };\n"
              "unsigned char RixSongChannelEnvCounter[8] = {0, 2, 0, 0, 0, 0, 0, 0 };\n"
              "bool RixSongChannelStopNote[8] = {false, false, false, true, false, false, true, false };\n\n"
              "// End\n");
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
    data.channels[6].oscillators[0].type = 7; // unknown: written as its number
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
              "  { 8, 0, 7, 6, -1, 100, 0, 0 }, \n"
              "  { 8, 0, RIXSONGOSCTYPE_SINE, 7, -1, 100, 0, 0 }, \n"
              "\n};\n\n");
}

TEST(RixSongExporter, PitchBecomesOctaveAndFineTune)
{
    const struct { int32_t pitch, octave, fine; } cases[] = {
        {0, 8, 0},      {-1, 7, 255},   {1200, 9, 0},    {600, 8, 106}, {1800, 9, 106},         {-600, 7, 106},
        {-1200, 7, 0},  {1199, 8, 255}, {100, 8, 15},    {-2401, 5, 255}, {INT_MAX, 1789577, 161}, {INT_MIN, -1789562, 57},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(CRixSongExporter::PitchOctave(entry.pitch), entry.octave) << entry.pitch;
        EXPECT_EQ(CRixSongExporter::PitchFine(entry.pitch), entry.fine) << entry.pitch;
    }
}

TEST(RixSongExporter, InitialValueFollowsThePlayersEnvelopeFormula)
{
    const struct { int32_t minValue, maxValue, phase, keep; bool keepEnabled; int32_t value; } cases[] = {
        {0, 256, 0, 0, false, 128}, {0, 256, 16384, 0, false, 256}, {0, 256, 32768, 0, false, 128},
        {0, 256, 49152, 0, false, 0}, {0, 256, 65535, 0, false, 124},
        // A negative keep holds the counter below 0 from the start.
        {0, 256, 16384, -16384, true, 128}, {0, 256, 16384, -16384, false, 256},
        // Truncating division: (224 × -100) / 256 = -87.5 gives -87.
        {100, 0, 8192, 0, false, 13}, {-100, 100, 49152, 0, false, -100},
        // 32-bit wrap-around, never undefined behaviour.
        {INT_MIN, INT_MAX, 16384, 0, false, INT_MAX}, {INT_MAX, INT_MIN, 0, INT_MIN, true, INT_MAX},
        {0, 256, INT_MAX, INT_MIN, true, 124},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CRixSongExporter::InitialValue({c.minValue, c.maxValue, 65, 3, c.phase, c.keep, 0, c.keepEnabled, false}),
                  c.value) << c.minValue << " " << c.maxValue << " " << c.phase;
}

TEST(RixSongExporter, EnvelopeRowsConvertPhasesAndResetModes)
{
    const struct { TRixEnvelope envelope; const char* row; } cases[] = {
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
        EXPECT_THAT(Block(ExportText(data), "TRixSongEnvelope RixSongEnvList"),
                    HasSubstr(std::string("\n  ") + entry.row + ", \n"));
    }
}

// Every exported effect kind on two played channels, at 175 BPM.
CRixModuleData EffectSong()
{
    CRixModuleData data;
    data.bpm = 175;
    data.orderTable[0][0] = 1;
    data.orderTable[2][0] = 1;
    TRixEffect delay = TRixEffect::OfType(RIXEFFECT_DELAY);
    delay.param1 = 100;
    TRixEffect lowPass = TRixEffect::OfType(RIXEFFECT_LOWPASS);
    lowPass.envelope1 = Running(40);
    TRixEffect highPass = TRixEffect::OfType(RIXEFFECT_HIGHPASS);
    highPass.param1 = 50;
    TRixEffect resonance = TRixEffect::OfType(RIXEFFECT_RESONANCE);
    resonance.param2 = 70;
    resonance.envelope2 = Running(50);
    TRixEffect noLimit = TRixEffect::OfType(RIXEFFECT_OVERDRIVE);
    noLimit.param1 = 0;
    noLimit.param2 = 3;
    noLimit.envelope1 = Running(60);
    TRixEffect wrapping = TRixEffect::OfType(RIXEFFECT_DELAY);
    wrapping.param1 = -1;
    // Band-pass (its running envelope included), unknown types and the effects
    // of channels that play nothing add no rows, shapes or counters.
    TRixEffect bandPass = TRixEffect::OfType(RIXEFFECT_BANDPASS);
    bandPass.envelope1 = Running(1);
    data.channels[0].effects = {delay,    TRixEffect::OfType(RIXEFFECT_FLANGE), bandPass, TRixEffect::OfType(99),
                                lowPass,  TRixEffect::OfType(-1),               highPass};
    data.channels[2].effects = {resonance, TRixEffect::OfType(RIXEFFECT_OVERDRIVE), noLimit, wrapping};
    data.orderTable[1][0] = 16;
    data.channels[1].effects = {lowPass};
    data.channels[4].effects = {resonance};
    return data;
}

TEST(RixSongExporter, EveryEffectRowKind)
{
    const std::string text = ExportText(EffectSong());
    EXPECT_THAT(text, HasSubstr("#define RIXSONG_ROWLENSAMPLES 3779\n"));
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
    EXPECT_THAT(text, HasSubstr("#define RIXSONG_ENVLISTSIZE 5\n#define RIXSONG_ENVCOUNTERLISTSIZE 7\n"
                                "#define RIXSONG_OSCLISTSIZE 8\n#define RIXSONG_EFFECTLISTSIZE 8\n#define RIXSONG_VOL 100\n"
                                "#define RIXSONG_ENABLE_DELAYEFFECT\n#define RIXSONG_ENABLE_FLANGEEFFECT\n"
                                "#define RIXSONG_ENABLE_LOWPASSEFFECT\n#define RIXSONG_ENABLE_HIGHPASSEFFECT\n"
                                "#define RIXSONG_ENABLE_RESONANCEEFFECT\n#define RIXSONG_ENABLE_OVERDRIVEEFFECT\n"));
}

} // namespace
} // namespace rix
