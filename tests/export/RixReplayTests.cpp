#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "IRixModulePlayer.h"
#include "RixExportSize.h"
#include "RixExportVerifier.h"
#include "RixModule.h"
#include "RixOscillatorState.h"
#include "RixReplay.h"
#include "RixReplayRenderer.h"
#include "RixSongEvents.h"
#include "RixSongExporter.h"
#include "RandomSongs.h"
#include "TemporaryFolder.h"
#include "nexilon/MemoryStream.h"
#include "nexilon/Nexilon.h"

namespace rix {
namespace {

struct ReplayEnvironment : testing::Environment {
    void SetUp() override
    {
        nexilon::q.Init();
        RegisterModuleClass();
        RegisterPlayerClass();
    }
};
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new ReplayEnvironment());

constexpr uint32_t kAllEffects = 0x3F;

std::unique_ptr<CRixModuleData> RandomExactSong(uint32_t seed, uint32_t effectTypes)
{
    return rixtest::CRandomSong(seed).Plain(effectTypes);
}

// The editor's render: `passes` times through the song, seeking back to the
// start after each pass (what the routine does when the song ends).
std::vector<int16_t> EditorRender(const CRixModuleData& data, int passes)
{
    nexilon::CPtr<IRixModule> module = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
    {
        CRixModuleLock lock(*module, nexilon::LOCKMODE_WRITE);
        *lock = data;
    }
    nexilon::CPtr<IRixModulePlayer> player = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
    player->Connect(module.Get());
    const auto length = static_cast<std::size_t>(player->GetLength() / 2);
    std::vector<int16_t> samples(length * static_cast<std::size_t>(passes));
    for (int pass = 0; pass < passes; ++pass) {
        player->Seek(0);
        EXPECT_EQ(player->Read(samples.data() + length * static_cast<std::size_t>(pass), length * 2), length * 2);
    }
    return samples;
}

std::string ExportText(const CRixModuleData& data, bool exact = false)
{
    nexilon::CPtr<nexilon::IMemoryOutputStream> stream = nexilon::CreateMemoryOutputStream();
    CRixSongExporter().Export(data, *stream, exact);
    return stream->GetBytes();
}

// The first sample where two renders part, or -1.
long FirstDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b)
{
    const auto [left, right] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return left == a.end() && right == b.end() ? -1 : static_cast<long>(left - a.begin());
}

int RunShell(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The text size of the routine compiled with -Os for an exported song.
std::size_t CodeSize(const rixtest::CTemporaryFolder& folder, const std::string& defines)
{
    rixtest::WriteWholeFile(folder / "RixSongDataDefines.h", defines);
    const std::string object = folder / "RixReplay.o";
    if (RunShell(std::string(SONRIX_CXX_COMPILER) + " -Os -Wall -Wextra -Werror -c -I" + SONRIX_SOURCE_DIR "/replay -I" +
            (folder / "") + " " + SONRIX_SOURCE_DIR "/replay/RixReplay.cpp -o " + object) != 0)
        return 0;
    std::FILE* pipe = ::popen(("size -A " + object + " | awk '$1 == \".text\" { print $2 }'").c_str(), "r");
    unsigned long size = 0;
    if (!pipe || std::fscanf(pipe, "%lu", &size) != 1)
        size = 0;
    if (pipe)
        ::pclose(pipe);
    return size;
}

// Songs exported as text, each compiled with the example host into a
// program of its own (two compilers at a time) and played for two passes.
class CCompiledSongs {
public:
    void Add(const CRixModuleData& data, bool exact)
    {
        const std::string name = "song" + std::to_string(songs.size());
        const std::string text = ExportText(data, exact);
        std::filesystem::create_directory(folder / name);
        rixtest::WriteWholeFile(folder / (name + "/RixSongData.cpp"), text);
        rixtest::WriteWholeFile(folder / (name + "/RixSongDataDefines.h"), text.substr(0, text.find("#endif\n") + 7));
        const std::string replay = SONRIX_SOURCE_DIR "/replay";
        const std::string at = folder / name;
        script += std::string(SONRIX_CXX_COMPILER) + " -O1 -Wall -Wextra -Werror -I" + at + " -I" + replay + " " + replay + "/example/main.cpp " + replay +
                  "/RixReplay.cpp " + at + "/RixSongData.cpp -o " + at + "/example || echo " + name + " >> " +
                  (folder / "failed") + "\n";
        songs.push_back(&data);
    }
    // Compiles all; the names of the songs that did not compile.
    std::string Build()
    {
        rixtest::WriteWholeFile(folder / "build.txt", script);
        RunShell("tr '\\n' '\\0' < " + (folder / "build.txt") + " | xargs -0 -P 2 -n 1 sh -c");
        return std::filesystem::exists(folder / "failed") ? rixtest::ReadWholeFile(folder / "failed") : "";
    }
    // The compiled song's samples, `count` of them.
    std::vector<int16_t> Play(std::size_t song, std::size_t count) const
    {
        const std::string at = folder / ("song" + std::to_string(song));
        if (RunShell(at + "/example " + at + "/out.wav " + std::to_string(count)) != 0)
            return {};
        const std::string wav = rixtest::ReadWholeFile(at + "/out.wav");
        std::vector<int16_t> samples(wav.size() > 44 ? (wav.size() - 44) / 2 : 0);
        std::memcpy(samples.data(), wav.data() + 44, samples.size() * 2);
        return samples;
    }
    const CRixModuleData& Song(std::size_t song) const { return *songs[song]; }
    std::size_t Count() const { return songs.size(); }

private:
    rixtest::CTemporaryFolder folder;
    std::string script;
    std::vector<const CRixModuleData*> songs;
};

// Whole renders of three random songs of every feature, kept as FNV-1a
// hashes of their samples. The reference player and the replay routine
// catch the engine drifting from them; these catch a change of sound that
// all three would share. A hash that moves on purpose is re-recorded from
// the failure message.
TEST(GoldenRender, RandomSongsSoundAsRecorded)
{
    const std::pair<uint32_t, uint64_t> songs[] = {{7, 4383035122059753888u}, {8, 15851682125380259457u}, {9, 593704241334351260u}};
    for (const auto& [seed, expected] : songs) {
        uint64_t hash = 14695981039346656037u;
        for (const int16_t sample : EditorRender(*rixtest::CRandomSong(seed).Any(), 1))
            for (const int shift : {0, 8})
                hash = (hash ^ ((static_cast<uint16_t>(sample) >> shift) & 0xFF)) * 1099511628211u;
        EXPECT_EQ(hash, expected) << "seed " << seed;
    }
}

TEST(RixReplay, ExactExportsOfRandomSongsCompileAndPlayTheEditorsSamples)
{
    std::vector<std::unique_ptr<CRixModuleData>> songs;
    CCompiledSongs compiled;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        songs.push_back(rixtest::CRandomSong(seed).Any());
        compiled.Add(*songs.back(), true);
    }
    ASSERT_EQ(compiled.Build(), "");
    for (std::size_t i = 0; i < compiled.Count(); ++i) {
        SCOPED_TRACE("seed " + std::to_string(i + 1));
        const std::vector<int16_t> expected = EditorRender(compiled.Song(i), 2);
        ASSERT_EQ(FirstDifference(compiled.Play(i, expected.size()), expected), -1) << "of " << expected.size();
        // The tool's own routine (the tables in memory), as verify-export --exact runs it.
        if (i < 20) {
            EXPECT_TRUE(CRixExportVerifier::Verify(compiled.Song(i), true).Passes());
        }
    }
}

TEST(RixReplay, SongsWithinThePlainTablesExportTheSameTextExactlyAndPlayTheEditorsSamples)
{
    // No effects, all of them, and two subsets: each set of enable defines
    // compiles without warnings and plays the same samples.
    const uint32_t effectSets[] = {0, kAllEffects, 0x15, 0x2A};
    CCompiledSongs compiled;
    std::vector<std::unique_ptr<CRixModuleData>> songs;
    for (uint32_t i = 0; i < std::size(effectSets); ++i) {
        songs.push_back(RandomExactSong(100 + i, effectSets[i]));
        EXPECT_EQ(ExportText(*songs.back(), true), ExportText(*songs.back()));
        compiled.Add(*songs.back(), false);
    }
    // The plain export of what the tables cannot carry (unknown types, lone
    // transition flags, any pitch) and of an empty song compiles as well.
    songs.push_back(rixtest::CRandomSong(5).Any());
    compiled.Add(*songs.back(), false);
    songs.push_back(std::make_unique<CRixModuleData>());
    compiled.Add(*songs.back(), false);
    ASSERT_EQ(compiled.Build(), "");
    for (std::size_t i = 0; i < std::size(effectSets); ++i) {
        const std::vector<int16_t> expected = EditorRender(compiled.Song(i), 2);
        EXPECT_EQ(FirstDifference(compiled.Play(i, expected.size()), expected), -1) << "effect set " << i;
    }
    // The routine inside the tool, with the verification's report.
    const auto data = RandomExactSong(1, kAllEffects);
    const TRixExportReport report = CRixExportVerifier::Verify(*data);
    EXPECT_TRUE(report.Passes());
    EXPECT_TRUE(report.mix.identical);
    for (const TRixLevelDifference& channel : report.channels)
        EXPECT_TRUE(channel.identical);
}

TEST(RixReplay, ExampleWithSyncReportsTheRowsAndNotesOfTheSong)
{
    // A plain song (the sync works the same on both forms) at 120 BPM: a
    // row is longer than the example's 735-sample frames, so each frame
    // holds at most one row start.
    auto data = RandomExactSong(21, kAllEffects);
    data->bpm = 120;
    data->orderTable[3][2] = 2;
    rixtest::CTemporaryFolder folder;
    const std::string text = ExportText(*data, true);
    rixtest::WriteWholeFile(folder / "RixSongData.cpp", text);
    rixtest::WriteWholeFile(folder / "RixSongDataDefines.h", text.substr(0, text.find("#endif\n") + 7));
    const std::string replay = SONRIX_SOURCE_DIR "/replay";
    ASSERT_EQ(RunShell(std::string(SONRIX_CXX_COMPILER) + " -O1 -Wall -Wextra -Werror -DRIXREPLAY_ENABLE_SYNC -I" +
                       (folder / "") + " -I" + replay + " " + replay + "/example/main.cpp " + replay +
                       "/RixReplay.cpp " + (folder / "RixSongData.cpp") + " -o " + (folder / "example")),
              0);
    ASSERT_EQ(RunShell((folder / "example") + " " + (folder / "out.wav") + " > " + (folder / "sync.txt")), 0);

    std::string expected;
    const int rowLength = data->GetRowLength();
    for (int absoluteRow = 0; absoluteRow < data->GetSongLength() * RIX_ROWS; ++absoluteRow) {
        expected += "row " + std::to_string(absoluteRow * rowLength) + " " + std::to_string(absoluteRow / 16) + " " +
                    std::to_string(absoluteRow % 16) + "\n";
        for (const TRixNoteEvent& event : SongNoteEvents(*data)) {
            if (static_cast<int>(event.sample) == absoluteRow * rowLength && event.note != RIX_NOTE_STOP)
                expected += "note " + std::to_string(event.sample) + " " + std::to_string(event.channel + 1) + " " +
                            std::to_string(event.note) + "\n";
        }
    }
    // The pass ends where the song starts again.
    expected += "row " + std::to_string(data->GetSongLength() * RIX_ROWS * rowLength) + " 0 0\n";
    std::string reported = rixtest::ReadWholeFile(folder / "sync.txt");
    const std::size_t levels = reported.find("level ");
    ASSERT_NE(levels, std::string::npos);
    EXPECT_EQ(reported.substr(0, levels), expected);
    // The loudest channel output of the pass, as the editor renders it.
    EXPECT_NE(reported.substr(levels), "level 1 0\nlevel 2 0\nlevel 3 0\nlevel 4 0\nlevel 5 0\nlevel 6 0\nlevel 7 0\nlevel 8 0\n");
}

TEST(RixReplay, ExactNoteStepsEqualTheEditorsForEveryNoteAndPitch)
{
    // Every note at every pitch within four octaves, and a spread beyond:
    // the routine's power series must round like the library's power.
    for (int32_t cents = -4800; cents <= 4800; ++cents) {
        for (uint32_t note = 1; note < RIX_NOTE_STOP; ++note) {
            if (RixReplayIncrement(static_cast<int>(note), cents, 0, true) !=
                TRixOscillatorState::NoteIncrement(cents, note))
                FAIL() << cents << " cents, note " << note;
        }
    }
    for (int32_t cents = -2000000000; cents < 2000000000; cents += 9876543) {
        for (uint32_t note = 1; note < RIX_NOTE_STOP; note += 17)
            ASSERT_EQ(RixReplayIncrement(static_cast<int>(note), cents, 0, true), TRixOscillatorState::NoteIncrement(cents, note))
                << cents << " cents, note " << note;
    }
}

TEST(RixReplay, EffectsLeftOutOfTheDefinesLeaveNoCode)
{
    rixtest::CTemporaryFolder folder;
    const std::string sizes = "#define RIXSONG_LEN 0x1\n#define RIXSONG_ROWLENSAMPLES 5512\n"
                              "#define RIXSONG_ENVCOUNTERLISTSIZE 4\n#define RIXSONG_OSCLISTSIZE 4\n"
                              "#define RIXSONG_EFFECTLISTSIZE 4\n#define RIXSONG_VOL 100\n";
    const std::size_t none = CodeSize(folder, sizes);
    ASSERT_GT(none, 0u);
    const char* names[] = {"DELAY", "FLANGE", "LOWPASS", "HIGHPASS", "RESONANCE", "OVERDRIVE"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        EXPECT_GT(CodeSize(folder, sizes + "#define RIXSONG_ENABLE_" + name + "EFFECT\n"), none + 20);
    }
}

TEST(RixReplay, VerificationNamesWhatTheTablesCannotCarry)
{
    auto data = RandomExactSong(7, kAllEffects);
    data->orderTable[2][0] = 1;
    data->channels[2].effects.push_back(TRixEffect::OfType(RIXEFFECT_BANDPASS));
    data->patterns[2][1][5] = 200;
    data->channels[2].oscillators[0].type = 5;
    data->channels[2].envelope = TRixEnvelope::ChannelDefault();
    data->channels[2].envelope.phase = 1000;
    data->channels[2].oscillators[0].pitch = 50;
    const TRixExportReport report = CRixExportVerifier::Verify(*data);
    std::set<std::string> places;
    for (const TRixExportFeature& feature : report.features) {
        EXPECT_EQ(feature.channel, 2);
        places.insert(feature.place);
    }
    const int lastEffect = static_cast<int>(data->channels[2].effects.size());
    EXPECT_EQ(places, (std::set<std::string>{"effect " + std::to_string(lastEffect), "pattern 1, row 5",
                                             "oscillator 1", "channel envelope"}));
    EXPECT_FALSE(report.Passes());
    bool measured = false;
    for (const TRixPitchError& pitch : report.pitches) {
        if (pitch.channel == 2 && pitch.oscillator == 0 && !pitch.transition) {
            // 50 cents become fine 7: (256 + 7) / 256 is 46.7 cents.
            EXPECT_NEAR(pitch.worstCents, -3.3, 1.5);
            measured = true;
        } else if (pitch.pitch == 0) {
            EXPECT_EQ(pitch.worstCents, 0.0);
        }
    }
    EXPECT_TRUE(measured);
}

TEST(RixReplay, ExactVerificationNamesOnlyValuesNoEditorWrites)
{
    auto data = RandomExactSong(9, kAllEffects);
    data->orderTable[2][0] = 1;
    data->patterns[2][1][3] = 300; // no note, no stop
    for (uint32_t p = 0; p < RIX_PATTERNS; ++p)
        data->orderTable[5][p] = p; // patterns 1..15 all play, and 0 holds a note
    data->patterns[5][0][4] = 40;
    const TRixExportReport report = CRixExportVerifier::Verify(*data, true);
    ASSERT_EQ(report.features.size(), 2u);
    EXPECT_EQ(report.features[0].channel, 2);
    EXPECT_EQ(report.features[0].place, "pattern 1, row 3");
    EXPECT_EQ(report.features[1].channel, 5);
    EXPECT_EQ(report.features[1].place, "pattern 0");
    EXPECT_FALSE(report.Passes());
}

} // namespace
} // namespace rix
