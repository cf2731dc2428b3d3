#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "RandomSongs.h"
#include "RixExportBreakdown.h"
#include "RixSongExporter.h"
#include "TemporaryFolder.h"

namespace rix {
namespace {

TEST(RixExportBreakdown, HintsNameWhatSavesBytes)
{
    auto data = rixtest::CRandomSong(5).Plain(0x01); // delays, on channels left silent below
    for (int c = 1; c < RIX_CHANNELS; ++c)
        data->orderTable[c][0] = data->orderTable[c][1] = 0;
    data->orderTable[1][0] = 1; // channel 2: pattern 2 is written empty below 3
    data->orderTable[1][1] = 3;
    data->orderTable[2][0] = 1; // channel 3: patterns 1 and 2 are the same
    data->orderTable[2][1] = 2;
    std::copy(data->patterns[2][1], data->patterns[2][1] + RIX_ROWS, data->patterns[2][2]);
    data->orderTable[4][0] = data->orderTable[5][0] = 1; // channels 5 and 6 play one instrument
    data->channels[5] = data->channels[4];
    data->channels[0].effects = {TRixEffect::OfType(RIXEFFECT_OVERDRIVE)};
    data->channels[1].effects.clear();
    data->channels[2].effects.clear();
    data->channels[4].effects.clear();
    data->channels[5].effects.clear();
    for (const bool exact : {false, true}) {
        SCOPED_TRACE(exact ? "exact" : "plain");
        // That the parts add up to the measured total, the size panel's test
        // proves on the demo song.
        const TRixExportBreakdown breakdown = BreakDownExportSize(*data, exact);
        ASSERT_EQ(breakdown.parts.size(), 13u);
        EXPECT_EQ(breakdown.parts[2].rawBytes, 3u * 16u);
        std::vector<std::string> starts;
        for (const TRixSizeHint& hint : breakdown.hints)
            starts.push_back(hint.text.substr(0, hint.text.find(':')) + " " + std::to_string(hint.rawBytes));
        const uint32_t rowsOfChannel6 = static_cast<uint32_t>(
            data->channels[5].oscillators.size() * sizeof(TRixSongOscillator) +
            std::count_if(data->channels[5].oscillators.begin(), data->channels[5].oscillators.end(),
                          [](const TRixOscillator& o) { return o.transition; }) * sizeof(TRixSongOscillator));
        ASSERT_EQ(starts.size(), 4u);
        EXPECT_EQ(starts[0], "Channel 2 16");
        EXPECT_EQ(starts[1], "Channel 3 16");
        EXPECT_EQ(starts[2].substr(0, 15), "Channels 5 and ");
        EXPECT_GT(breakdown.hints[2].rawBytes, rowsOfChannel6);
        EXPECT_EQ(starts[3].substr(0, 17), "One Overdrive eff");
    }
}

// The size panel's estimate of the routine's code follows the routine as an
// intro builds it (where the compiler can build 32-bit code).
TEST(RixExportBreakdown, RoutineCodeEstimateFollowsTheCompiledRoutine)
{
    rixtest::CTemporaryFolder folder;
    for (const bool exact : {false, true}) {
        TRixSongTables tables;
        tables.exact = exact;
        tables.effectTypeUsed = {true, false, true, true, false, true};
        std::string defines = "#define RIXSONG_LEN 0x1\n#define RIXSONG_ROWLENSAMPLES 5512\n"
                              "#define RIXSONG_ENVCOUNTERLISTSIZE 4\n#define RIXSONG_OSCLISTSIZE 4\n"
                              "#define RIXSONG_EFFECTLISTSIZE 4\n#define RIXSONG_VOL 100\n"
                              "#define RIXSONG_ENABLE_DELAYEFFECT\n#define RIXSONG_ENABLE_LOWPASSEFFECT\n"
                              "#define RIXSONG_ENABLE_HIGHPASSEFFECT\n#define RIXSONG_ENABLE_OVERDRIVEEFFECT\n";
        if (exact)
            defines += "#define RIXSONG_EXACT\n#define RIXSONG_HISTORYSIZE 100\n";
        rixtest::WriteWholeFile(folder / "RixSongDataDefines.h", defines);
        const std::string object = folder / "RixReplay.o";
        const int status = std::system((std::string(SONRIX_CXX_COMPILER) +
                                        " -m32 -Os -fno-pic -fno-asynchronous-unwind-tables -fno-exceptions -fno-rtti "
                                        "-msse2 -mfpmath=sse -c -I" SONRIX_SOURCE_DIR "/replay -I" + (folder / "") +
                                        " " SONRIX_SOURCE_DIR "/replay/RixReplay.cpp -o " + object + " 2>/dev/null")
                                           .c_str());
        if (status != 0)
            GTEST_SKIP() << "no 32-bit x86 compiler (gcc-multilib)";
        std::FILE* pipe = ::popen(("size -A " + object + " | awk '$1 ~ /^.(text|rodata|data)/ { n += $2 } END { print n }'").c_str(), "r");
        unsigned long size = 0;
        ASSERT_TRUE(pipe && std::fscanf(pipe, "%lu", &size) == 1);
        ::pclose(pipe);
        const TRixSizePart estimate = RoutineCodeSize(tables);
        EXPECT_NEAR(static_cast<double>(estimate.rawBytes), static_cast<double>(size), size * 0.06)
            << (exact ? "exact" : "plain");
    }
}

} // namespace
} // namespace rix
