#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "RixModulePlayer.h"
#include "nexilon/Exceptions.h"
#include "nexilon/Nexilon.h"

namespace {

using enginetest::Edit;
using enginetest::ReadSamples;

class ModulePlayerTest : public ::testing::Test {
protected:
    void Connect() { player->Connect(module.Get()); }

    nexilon::CPtr<rix::IRixModule> module = enginetest::NewModule();
    nexilon::CPtr<rix::IRixModulePlayer> player = enginetest::NewPlayer();
};

TEST_F(ModulePlayerTest, RowLengthFollowsTheTempo)
{
    const std::pair<int32_t, uint64_t> tempos[] = {{120, 5512}, {125, 5292}, {175, 3779},  {60, 11025},
                                                    {1, 661499}, {0, 661499}, {-5, 661499}, {10000000, 1}};
    for (const auto& [bpm, rowLength] : tempos) {
        Edit(*module, [&](rix::CRixModuleData& data) {
            data.bpm = bpm;
            data.orderTable[2][0] = 1;
        });
        Connect();
        EXPECT_EQ(player->GetLength(), rowLength * 16 * 2) << bpm << " BPM";
    }
}

TEST_F(ModulePlayerTest, TwoPositionSongHasExactlyItsLength)
{
    Edit(*module, [](rix::CRixModuleData& data) {
        data.orderTable[0][0] = 1;
        data.orderTable[5][1] = 2;
        data.patterns[0][1][0] = 58;
    });
    Connect();
    EXPECT_EQ(player->GetLength(), 352768u);
    std::vector<unsigned char> buffer(400001);
    EXPECT_EQ(player->Read(buffer.data(), buffer.size()), 352768u);
    EXPECT_TRUE(player->IsEof());
    EXPECT_EQ(player->Tell(), 352768u);
    EXPECT_EQ(player->Read(buffer.data(), buffer.size()), 0u);
}

TEST_F(ModulePlayerTest, EmptySongEndsAtOnce)
{
    Connect();
    EXPECT_EQ(player->GetLength(), 0u);
    EXPECT_TRUE(player->IsEof());
    EXPECT_TRUE(ReadSamples(*player, 100).empty());
}

TEST_F(ModulePlayerTest, SeekLandsInsideTheRowAndTriggersItsNotes)
{
    Edit(*module, [](rix::CRixModuleData& data) {
        data.orderTable[0][0] = 1;
        data.orderTable[0][1] = 2;
        data.patterns[0][2][1] = 58;
    });
    Connect();
    const uint64_t target = 2 * (5512 * 17 + 100);
    player->Seek(target);
    EXPECT_EQ(player->Tell(), target);
    EXPECT_EQ(player->GetRow(), 1u);
    EXPECT_FALSE(player->IsEof());
    const std::vector<int16_t> samples = ReadSamples(*player, 100);
    EXPECT_TRUE(std::any_of(samples.begin(), samples.end(), [](int16_t s) { return s != 0; }))
        << "the note of order position 1, row 1 sounds at once";

    player->Seek(player->GetLength() + 1000);
    EXPECT_TRUE(player->IsEof());
    EXPECT_EQ(player->Tell(), player->GetLength());
    EXPECT_TRUE(ReadSamples(*player, 10).empty());
    player->Skip(-2 * 5512);
    EXPECT_FALSE(player->IsEof());
    EXPECT_EQ(ReadSamples(*player, 6000).size(), 5512u);
}

TEST_F(ModulePlayerTest, LoopModeRepeatsTheOrderPosition)
{
    Edit(*module, [](rix::CRixModuleData& data) {
        data.orderTable[0][0] = 1;
        data.orderTable[0][1] = 1;
        data.patterns[0][1][0] = 58;
    });
    Connect();
    player->SeekToRow(16);
    player->SetLoopPattern(true);
    const uint32_t orderSamples = 16 * 5512;
    EXPECT_EQ(ReadSamples(*player, 3 * orderSamples + 100).size(), 3 * orderSamples + 100);
    EXPECT_EQ(player->Tell(), 2u * (orderSamples + 100));
    EXPECT_FALSE(player->IsEof());
    player->SetLoopPattern(false);
    EXPECT_EQ(ReadSamples(*player, 2 * orderSamples).size(), orderSamples - 100);
}

TEST_F(ModulePlayerTest, TempoChangeRestartsTheCurrentRowAtItsNewLength)
{
    Edit(*module, [](rix::CRixModuleData& data) { data.orderTable[0][0] = 1; });
    Connect();
    ReadSamples(*player, 5 * 5512 + 300);
    Edit(*module, [](rix::CRixModuleData& data) { data.bpm = 60; });
    ReadSamples(*player, 0);
    EXPECT_EQ(player->Tell(), 2u * 5 * 11025);
    EXPECT_EQ(player->GetRow(), 5u);
}

TEST_F(ModulePlayerTest, FullScaleMixClampsInsteadOfWrapping)
{
    Edit(*module, [](rix::CRixModuleData& data) {
        data.masterVolume = 256;
        for (int c = 0; c < rix::RIX_CHANNELS; ++c) {
            enginetest::OneChannelSong(data, c, {58});
            data.channels[c].volume = 256;
            data.channels[c].envelope = rix::TRixEnvelope::Default();
            data.channels[c].oscillators[0].type = rix::RIXOSC_SQUARE;
            data.channels[c].oscillators[0].volume = 256;
        }
    });
    Connect();
    const std::vector<int16_t> samples = ReadSamples(*player, 400);
    for (std::size_t k = 0; k < samples.size(); ++k) {
        // Phase k × 653: the low half of the cycle comes first.
        const int16_t expected = (k * 653) % 65536 <= 32767 ? -32768 : 32767;
        ASSERT_EQ(samples[k], expected) << "sample " << k;
    }
}

TEST_F(ModulePlayerTest, EditsArePickedUpWhileRendering)
{
    Edit(*module, [](rix::CRixModuleData& data) { enginetest::OneChannelSong(data, 0, {58, 0, 58}); });
    Connect();
    auto silent = [](const std::vector<int16_t>& samples) {
        return std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 0; });
    };
    EXPECT_FALSE(silent(ReadSamples(*player, 1000)));
    Edit(*module, [](rix::CRixModuleData& data) { data.channels[0].volume = 0; });
    EXPECT_TRUE(silent(ReadSamples(*player, 1000)));
    Edit(*module, [](rix::CRixModuleData& data) { data.channels[0].volume = 100; });
    EXPECT_FALSE(silent(ReadSamples(*player, 1000)));
    Edit(*module, [](rix::CRixModuleData& data) { data.channels[0].AddOscillator(); });
    EXPECT_TRUE(silent(ReadSamples(*player, 2 * 5512 - 3000))) << "new oscillators wait for the next note";
    EXPECT_FALSE(silent(ReadSamples(*player, 1000)));
}

TEST_F(ModulePlayerTest, StopNoteClosesTheGateButEchoesRingOut)
{
    struct Case {
        const char* name;
        bool sustain;
        bool delay;
        bool silentAfterStop;
    };
    const Case cases[] = {
        {"gate closed", false, false, true},
        {"gate closed, delay", false, true, false},
        {"sustained fade", true, false, false},
    };
    for (const Case& c : cases) {
        Edit(*module, [&](rix::CRixModuleData& data) {
            data.Reset();
            enginetest::OneChannelSong(data, 0, {58, 255});
            data.channels[0].envelope.sustainEnabled = c.sustain;
            if (c.delay) {
                data.channels[0].effects.push_back(rix::TRixEffect::OfType(rix::RIXEFFECT_DELAY));
                data.channels[0].effects[0].param1 = 50;
            }
        });
        Connect();
        ReadSamples(*player, 5512);
        const std::vector<int16_t> afterStop = ReadSamples(*player, 5512);
        const bool silent = std::all_of(afterStop.begin(), afterStop.end(), [](int16_t s) { return s == 0; });
        EXPECT_EQ(silent, c.silentAfterStop) << c.name;
    }
}

TEST_F(ModulePlayerTest, TimeOfRowAndRowAtTimeInvertEachOther)
{
    Edit(*module, [](rix::CRixModuleData& data) { data.orderTable[0][255] = 1; });
    Connect();
    EXPECT_FLOAT_EQ(player->TimeOfRow(0), 0.0001f);
    for (uint32_t row = 0; row < 4096; ++row)
        ASSERT_EQ(player->RowAtTime(player->TimeOfRow(row)), static_cast<int32_t>(row)) << "row " << row;
    EXPECT_EQ(player->RowAtTime(1e30f), INT32_MIN) << "out of range converts like x86";
}

TEST_F(ModulePlayerTest, CopyOutputGivesRecentSamplesOfTheMixAndOfEachChannel)
{
    Edit(*module, [](rix::CRixModuleData& data) {
        data.masterVolume = 256;
        enginetest::OneChannelSong(data, 3, {58});
    });
    Connect();
    const std::vector<int16_t> played = ReadSamples(*player, 3000);
    std::vector<int32_t> mix(1000);
    std::vector<int32_t> channel(1000);
    const auto start = static_cast<uint32_t>(player->Tell() - 2000);
    player->CopyOutput(-1, start, mix.data(), 1000);
    player->CopyOutput(3, start, channel.data(), 1000);
    for (std::size_t k = 0; k < 1000; ++k) {
        ASSERT_EQ(mix[k], played[2000 + k]);
        ASSERT_EQ(channel[k], played[2000 + k]);
    }
    player->SetChannelEnabled(3, false);
    const std::vector<int16_t> muted = ReadSamples(*player, 500);
    EXPECT_TRUE(std::all_of(muted.begin(), muted.end(), [](int16_t s) { return s == 0; }));
    player->CopyOutput(3, static_cast<uint32_t>(player->Tell() - 1000), channel.data(), 500);
    EXPECT_TRUE(std::any_of(channel.begin(), channel.begin() + 500, [](int32_t s) { return s != 0; }))
        << "the ring records a muted channel";
}

TEST_F(ModulePlayerTest, NoiseRendersTheSameAfterEveryConnect)
{
    Edit(*module, [](rix::CRixModuleData& data) {
        enginetest::OneChannelSong(data, 1, {58});
        data.channels[1].oscillators[0].type = rix::RIXOSC_NOISE;
        data.channels[1].transitionOscillators[0].type = rix::RIXOSC_NOISE;
    });
    Connect();
    // A whole number of envelope steps, because Connect does not reset the
    // envelope step clock.
    const std::vector<int16_t> first = ReadSamples(*player, 44 * 70);
    Connect();
    EXPECT_EQ(ReadSamples(*player, 44 * 70), first);
    EXPECT_NE(first[10], first[11]);
}

TEST_F(ModulePlayerTest, AnswersItsInterfacesAndReportsItsState)
{
    const nexilon::CId interfaces[] = {rix::IRixModulePlayer::Iid, nexilon::IInputStream::Iid, nexilon::IStream::Iid,
                                       nexilon::IObject::Iid};
    for (const nexilon::CId& id : interfaces) {
        nexilon::IObject* answer = player->QueryInterface(id);
        ASSERT_NE(answer, nullptr);
        answer->Release();
    }
    EXPECT_EQ(player->QueryInterface(rix::IRixModule::Iid), nullptr);
    EXPECT_EQ(player->GetClassId(), rix::RIX_MODULE_PLAYER_CLASS);
    EXPECT_EQ(nexilon::q.GetClassStore().GetClassName(rix::RIX_MODULE_PLAYER_CLASS).ToUtf8(), "rix::CRixModulePlayer");
    const auto* format = static_cast<const rix::TRixPcmFormat*>(player->GetFormat());
    EXPECT_EQ(format->formatId, rix::RIX_PCM_FORMAT_ID);
    EXPECT_EQ(format->size, 32u);
    EXPECT_EQ(format->fields[2], 44100);

    EXPECT_EQ(player->GetCapabilities(), 0);
    EXPECT_TRUE(player->IsEof());
    EXPECT_EQ(player->Tell(), 0u);
    EXPECT_FALSE(player->IsFeatureSupported(0));
    Connect();
    EXPECT_EQ(player->GetCapabilities(), 7);
    player->Close();
    EXPECT_EQ(player->GetCapabilities(), 0);
    EXPECT_TRUE(player->IsEof());
    int32_t untouched = 42;
    player->CopyOutput(-1, 0, &untouched, 1);
    player->SeekToRow(3);
    EXPECT_EQ(untouched, 42);
}

class CFakeSample : public nexilon::CObjectBase<nexilon::IMediaSample> {
public:
    CFakeSample() : CObjectBase(nexilon::CId(1, 2, 3, 4)) {}
    nexilon::IObject* QueryInterface(const nexilon::CId&) override { return nullptr; }
};

TEST_F(ModulePlayerTest, FailuresNameTheOperationAndTheReason)
{
    nexilon::CPtr<CFakeSample> sample = nexilon::CPtr<CFakeSample>::Adopt(new CFakeSample());
    unsigned char buffer[16];
    struct Case {
        std::function<void()> call;
        const char* kind;
        const char* function;
        const char* message;
    };
    const Case cases[] = {
        {[&] { player->Flush(); }, "COperationNotSupportedException", "Flush", "Flush not supported"},
        {[&] { player->Read(static_cast<nexilon::IMediaSample*>(nullptr)); }, "CNullPtrException", "Read",
         "sample is NULL"},
        {[&] { player->Read(sample.Get()); }, "CInvalidParameterException", "Read", "Media samples are not supported"},
        {[&] { player->Seek(0); }, "COperationNotSupportedException", "Seek", "Not connected to mod"},
        {[&] { player->Skip(2); }, "COperationNotSupportedException", "Seek", "Not connected to mod"},
        {[&] { player->Read(buffer, sizeof buffer); }, "CIOException", "Read", "Not connected to module"},
        {[&] { player->Read(nullptr, 2); }, "CNullPtrException", "Read", "buffer is NULL"},
        {[&] { player->GetLength(); }, "COperationNotSupportedException", "GetLength", "Not connected"},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.message << ": nothing thrown";
        } catch (const nexilon::CException& e) {
            EXPECT_STREQ(e.GetKind(), c.kind) << c.message;
            EXPECT_EQ(e.GetFunction(), std::string("rix::CRixModulePlayer::") + c.function);
            EXPECT_EQ(e.GetFile(), "RixModulePlayer");
            EXPECT_EQ(e.GetMessage(), c.message);
        }
    }
    EXPECT_EQ(player->Tell(), 0u);
    Connect();
    EXPECT_THROW(player->Flush(), nexilon::COperationNotSupportedException);
    EXPECT_THROW(player->Read(nullptr, 2), nexilon::CNullPtrException);
}

} // namespace
