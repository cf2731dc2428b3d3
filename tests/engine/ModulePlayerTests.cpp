#include <algorithm>
#include <functional>
#include <future>
#include <thread>

#include "EngineTestSupport.h"
#include "RixModulePlayer.h"
#include "nexilon/Exceptions.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/MemoryStream.h"
#include "nexilon/OutputStreamSelector.h"

namespace {

using enginetest::ReadSamples;
using TChange = std::function<void(rix::CRixModuleData&)>;

bool Silent(const std::vector<int16_t>& samples)
{
    return std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 0; });
}

// Pattern 1 of `channel` plays at order position 0 and starts with note 58.
void OneNoteSong(rix::CRixModuleData& data, int channel)
{
    data.orderTable[channel][0] = 1;
    data.patterns[channel][1][0] = 58;
}

class ModulePlayerTest : public ::testing::Test {
protected:
    void Edit(const TChange& change) { enginetest::Edit(*module, change); }
    void Play(const TChange& change)
    {
        Edit(change);
        player->Connect(module.Get());
    }

    nexilon::CPtr<rix::IRixModule> module = enginetest::NewModule();
    nexilon::CPtr<rix::IRixModulePlayer> player = enginetest::NewPlayer();
};

TEST_F(ModulePlayerTest, RowTimesSeeksAndTempoChangesLandOnTheStatedRowAndSample)
{
    Play([](rix::CRixModuleData& data) {
        data.orderTable[0][0] = 1;
        data.orderTable[0][1] = 2;
        data.patterns[0][2][1] = 58;
    });
    EXPECT_FLOAT_EQ(player->TimeOfRow(0), 0.0001f);
    for (uint32_t row = 0; row < 4096; ++row)
        ASSERT_EQ(player->RowAtTime(player->TimeOfRow(row)), static_cast<int32_t>(row)) << "row " << row;
    EXPECT_EQ(player->RowAtTime(1e30f), INT32_MIN) << "out of range converts like x86";
    player->Seek(2 * (5512 * 17 + 100));
    EXPECT_EQ(player->Tell(), 2u * (5512 * 17 + 100));
    EXPECT_EQ(player->GetRow(), 1u);
    EXPECT_FALSE(Silent(ReadSamples(*player, 100))) << "the note of order position 1, row 1 sounds at once";
    Edit([](rix::CRixModuleData& data) { data.bpm = 60; });
    ReadSamples(*player, 0);
    EXPECT_EQ(player->Tell(), 2u * 17 * 11025) << "a new tempo restarts the row at its new length";
    EXPECT_EQ(player->GetRow(), 1u);
}

TEST_F(ModulePlayerTest, TwoPositionSongEndsExactlyUnlessLooped)
{
    Play([](rix::CRixModuleData& data) {
        data.orderTable[0][0] = data.orderTable[5][1] = 1;
        data.patterns[0][1][0] = 58;
    });
    EXPECT_EQ(player->GetLength(), 352768u);
    player->SeekToRow(16);
    player->SetLoopPattern(true);
    const uint32_t orderSamples = 16 * 5512;
    EXPECT_EQ(ReadSamples(*player, 3 * orderSamples + 100).size(), 3 * orderSamples + 100) << "full buffers";
    EXPECT_EQ(player->Tell(), 2u * (orderSamples + 100));
    player->SetLoopPattern(false);
    EXPECT_EQ(ReadSamples(*player, 2 * orderSamples).size(), orderSamples - 100);
    EXPECT_TRUE(player->IsEof());
    EXPECT_EQ(player->Tell(), 352768u);
    player->SeekToRow(0);
    EXPECT_EQ(ReadSamples(*player, 200000).size(), 352768u / 2);
    // 5512 × 2^29 is a multiple of 2^32: a 32-bit product lands on row 0.
    player->SeekToRow(1u << 29);
    EXPECT_TRUE(player->IsEof());
    EXPECT_EQ(player->Tell(), 352768u);
}

// The display's record of the output (CopyRendered, by position in all
// that Read returned) holds exactly the samples Read returned, across loop
// wraps, seeks and tempo changes, which restart the player's own copy.
TEST_F(ModulePlayerTest, TheRenderedRecordHoldsWhatReadReturnedAcrossLoopsSeeksAndTempoChanges)
{
    Play([](rix::CRixModuleData& data) {
        data.bpm = 255;
        OneNoteSong(data, 0);
        data.patterns[0][1][15] = 70;
    });
    player->SetLoopPattern(true);
    const uint64_t before = player->GetRenderedCount();
    std::vector<int16_t> output;
    for (int read = 0; read < 400; ++read) {
        if (read == 150)
            player->SeekToRow(5);
        if (read == 250)
            Edit([](rix::CRixModuleData& data) { data.bpm = 200; });
        const std::vector<int16_t> samples = ReadSamples(*player, 1000);
        output.insert(output.end(), samples.begin(), samples.end());
        ASSERT_EQ(player->GetRenderedCount() - before, output.size());
        if (output.size() < 3500)
            continue;
        std::vector<int32_t> record(3000);
        ASSERT_TRUE(player->CopyRendered(-1, player->GetRenderedCount() - 500, record.data(), 3000));
        ASSERT_TRUE(std::equal(record.begin(), record.end(), output.end() - 3500)) << "read " << read;
    }
    std::vector<int32_t> window(100, 7);
    EXPECT_FALSE(player->CopyRendered(-1, player->GetRenderedCount() + 1, window.data(), 100)) << "not rendered yet";
    EXPECT_FALSE(player->CopyRendered(0, player->GetRenderedCount() - 65500, window.data(), 100)) << "overwritten";
    EXPECT_TRUE(std::all_of(window.begin(), window.end(), [](int32_t s) { return s == 0; }));
    EXPECT_FLOAT_EQ(player->GetRowSeconds(), 3307.0f / 44100.0f) << "200 BPM";
}

// Read never waits for the module: while another thread holds it for
// writing, the player renders on from what it had, and the edit sounds
// from the first Read after the writer let go.
TEST_F(ModulePlayerTest, ReadRendersOnWhileAWriterHoldsTheModule)
{
    const TChange song = [](rix::CRixModuleData& data) { OneNoteSong(data, 0); };
    const TChange edit = [](rix::CRixModuleData& data) { data.patterns[0][1][1] = 70; };
    Play(song);
    auto reference = enginetest::NewModule();
    enginetest::Edit(*reference, song);
    auto expected = enginetest::NewPlayer();
    expected->Connect(reference.Get());

    std::promise<void> holding, release;
    std::thread writer([&] {
        Edit([&](rix::CRixModuleData& data) {
            edit(data);
            holding.set_value();
            release.get_future().wait();
        });
    });
    holding.get_future().wait();
    EXPECT_EQ(ReadSamples(*player, 8000), ReadSamples(*expected, 8000)) << "the song as it was";
    release.set_value();
    writer.join();
    enginetest::Edit(*reference, edit);
    EXPECT_EQ(ReadSamples(*player, 8000), ReadSamples(*expected, 8000)) << "and with the edit";
}

TEST_F(ModulePlayerTest, AnEmptySongEndsAtOnceAndAClosedPlayerIgnoresCalls)
{
    Play([](rix::CRixModuleData&) {});
    EXPECT_EQ(player->GetCapabilities(), 7);
    EXPECT_EQ(player->GetLength(), 0u) << "an empty song ends at once";
    EXPECT_TRUE(player->IsEof());
    player->Close();
    EXPECT_EQ(player->GetCapabilities(), 0);
    int32_t untouched = 42;
    player->CopyOutput(-1, 0, &untouched, 1);
    player->SeekToRow(3);
    EXPECT_EQ(untouched, 42);
}

// 160 delays of the longest kind fit in a file of a few kilobytes and would
// take 5 GB of history: the player refuses such a song when it connects,
// and again when an edit makes the song that large while it plays.
TEST_F(ModulePlayerTest, RefusesASongWhoseEchoesExceedTheMemoryBudget)
{
    rix::CRixModuleData hostile;
    OneNoteSong(hostile, 0);
    rix::TRixEffect longest;
    longest.param1 = 100000;
    hostile.channels[2].effects.assign(100, longest);
    hostile.channels[6].effects.assign(60, longest);
    auto output = nexilon::CreateMemoryOutputStream();
    nexilon::COutputStreamSelector saving(output.Get());
    hostile.Save(saving);
    ASSERT_LT(output->GetBytes().size(), 32768u);
    auto input = nexilon::CreateMemoryInputStream(output->GetBytes());
    nexilon::CInputStreamSelector loading(input.Get());
    Edit([&](rix::CRixModuleData& data) { data.Load(loading); });

    const std::string message = "The song's effects need 5120 MB of echo memory at 120 BPM (channel 3: 3200 MB), but "
                                "a song may use at most 128 MB. Shorten or remove delays and flanges, or raise the tempo.";
    try {
        player->Connect(module.Get());
        ADD_FAILURE() << "connected";
    } catch (const nexilon::CInvalidParameterException& e) {
        EXPECT_EQ(e.GetMessage(), message);
    }
    EXPECT_EQ(player->GetCapabilities(), 0) << "left unconnected";

    Play([](rix::CRixModuleData& data) { data.channels[2].effects.resize(3); data.channels[6].effects.clear(); });
    EXPECT_EQ(ReadSamples(*player, 3000).size(), 3000u);
    Edit([&](rix::CRixModuleData& data) { data.channels[2].effects.resize(5, longest); });
    EXPECT_THROW(ReadSamples(*player, 3000), nexilon::CInvalidParameterException);
    Edit([&](rix::CRixModuleData& data) { data.channels[2].effects.resize(3); });
    EXPECT_FALSE(Silent(ReadSamples(*player, 3000))) << "plays on once the song fits again";
}

TEST_F(ModulePlayerTest, FailuresNameTheOperationAndTheReason)
{
    unsigned char buffer[16];
    const std::tuple<std::function<void()>, const char*, const char*, const char*> cases[] = {
        {[&] { player->Read(static_cast<nexilon::IMediaSample*>(nullptr)); }, "CNullPtrException", "Read",
         "sample is NULL"},
        {[&] { player->Seek(0); }, "COperationNotSupportedException", "Seek", "Not connected to mod"},
        {[&] { player->Skip(2); }, "COperationNotSupportedException", "Seek", "Not connected to mod"},
        {[&] { player->Read(buffer, sizeof buffer); }, "CIOException", "Read", "Not connected to module"},
        {[&] { player->Read(nullptr, 2); }, "CNullPtrException", "Read", "buffer is NULL"},
        {[&] { player->GetLength(); }, "COperationNotSupportedException", "GetLength", "Not connected"},
    };
    for (const auto& [call, kind, function, message] : cases) {
        try {
            call();
            ADD_FAILURE() << message << ": nothing thrown";
        } catch (const nexilon::CException& e) {
            EXPECT_STREQ(e.GetKind(), kind) << message;
            EXPECT_EQ(e.GetFunction(), std::string("rix::CRixModulePlayer::") + function);
            EXPECT_EQ(e.GetFile(), "RixModulePlayer");
            EXPECT_EQ(e.GetMessage(), message);
        }
    }
}

} // namespace
