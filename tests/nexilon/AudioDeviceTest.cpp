#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "DiskAudioCapture.h"
#include "SampleStream.h"
#include "VirtualSlot.h"
#include "nexilon/AudioDevice.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/Nexilon.h"
#include "nexilon/Sound.h"

using namespace nexilon;
using namespace std::chrono_literals;

namespace {

class AudioDevice : public ::testing::Test {
protected:
    void SetUp() override { q.Init(); }
    void TearDown() override { q.Close(); }

    static CPtr<ISound> MakeSound(IAudioDevice& device, IObject* stream)
    {
        CInputStreamSelector selector(stream);
        return CPtr<ISound>::Adopt(device.CreateSound(selector, SOUND_MODE_STREAMED));
    }
};

} // namespace

TEST_F(AudioDevice, PlaysAStreamExactlyBetweenSilenceAndStopsAtItsEnd)
{
    CDiskAudioCapture capture("device-exact");
    const std::vector<int16_t> played = NonZeroPattern(5000);
    {
        auto device = CreateInstance<IAudioDevice>(IAudioDevice::ClassId);
        device->Open();
        device->Open();
        auto stream = CSampleStream::Create(played);
        auto sound = MakeSound(*device, stream.Get());
        std::this_thread::sleep_for(30ms);
        EXPECT_FALSE(sound->IsPlaying());
        sound->Start();
        EXPECT_TRUE(sound->IsPlaying());
        ASSERT_TRUE(WaitFor([&] { return !sound->IsPlaying(); }, 10s));
        // Once the last queued sample is heard, the position rests at the end.
        EXPECT_TRUE(WaitFor([&] { return sound->GetPosition() == 5000.0f / 44100.0f; }, 1s));
        std::this_thread::sleep_for(30ms);
    }
    const std::vector<int16_t> recorded = capture.Samples();
    EXPECT_EQ(TrimSilence(recorded), played);
    EXPECT_GT(recorded.size(), played.size() + 512);
}

TEST_F(AudioDevice, MixesPlayingSoundsAndClampsTheSumTo16Bits)
{
    CDiskAudioCapture capture("device-mix");
    constexpr int kHalf = 3000;
    std::vector<int16_t> played(2 * kHalf, 30000);
    std::fill(played.begin() + kHalf, played.end(), -30000);
    {
        auto device = CreateInstance<IAudioDevice>(IAudioDevice::ClassId);
        device->Open();
        auto first = MakeSound(*device, CSampleStream::Create(played).Get());
        auto second = MakeSound(*device, CSampleStream::Create(played).Get());
        first->Start();
        second->Start();
        ASSERT_TRUE(WaitFor([&] { return !first->IsPlaying() && !second->IsPlaying(); }, 10s));
    }
    // The second sound may begin d samples later: then d samples of each
    // half are heard alone, and the rest of each half twice, clamped.
    const std::vector<int16_t> recorded = capture.Samples();
    auto count = [&](int16_t value) { return std::count(recorded.begin(), recorded.end(), value); };
    EXPECT_EQ(count(32767) + count(30000), kHalf);
    EXPECT_EQ(count(-32768) + count(-30000), kHalf);
    EXPECT_EQ(count(30000), count(-30000));
    EXPECT_GT(count(32767), 0);
    EXPECT_EQ(count(0) + count(32767) + count(30000) + count(-32768) + count(-30000),
              static_cast<std::ptrdiff_t>(recorded.size()));
}

TEST_F(AudioDevice, AFailingStreamEndsOnlyItsOwnSound)
{
    CDiskAudioCapture capture("device-failing");
    const std::vector<int16_t> played = NonZeroPattern(4000);
    {
        auto device = CreateInstance<IAudioDevice>(IAudioDevice::ClassId);
        auto broken = CSampleStream::Create(NonZeroPattern(100000));
        broken->SetFailing(true);
        auto failing = MakeSound(*device, broken.Get());
        auto healthy = MakeSound(*device, CSampleStream::Create(played).Get());
        failing->Start();
        ASSERT_TRUE(WaitFor([&] { return !failing->IsPlaying(); }, 5s));
        healthy->Start();
        ASSERT_TRUE(WaitFor([&] { return !healthy->IsPlaying(); }, 10s));
    }
    EXPECT_EQ(TrimSilence(capture.Samples()), played);
}

TEST_F(AudioDevice, RefusesUnknownSoundModesAndReservedSlots)
{
    CDiskAudioCapture capture("device-refuse");
    auto device = CreateInstance<IAudioDevice>(IAudioDevice::ClassId);
    auto stream = CSampleStream::Create({1, 2, 3});
    CInputStreamSelector selector(stream.Get());
    for (uint32_t mode : {0u, 1u, 2u, 4u, 0xFFFFFFFFu})
        EXPECT_THROW(device->CreateSound(selector, mode), CInvalidParameterException) << mode;
    EXPECT_THROW(device->Reserved7(), COperationNotSupportedException);
}

TEST(AudioDeviceLayout, OperationsSitInTheirSlots)
{
    EXPECT_EQ(VirtualSlot(&IAudioDevice::Reserved7), 7u);
    EXPECT_EQ(VirtualSlot(&IAudioDevice::Open), 8u);
    EXPECT_EQ(VirtualSlot(&IAudioDevice::CreateSound), 9u);
}

TEST(AudioDeviceDeathTest, FallsBackToTheDummyDriverAndSaysSoOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto run = [] {
        bool ended = false;
        {
            ::setenv("SONRIX_AUDIO_DRIVER", "no-such-driver", 1);
            q.Init();
            CreateInstance<IAudioDevice>(IAudioDevice::ClassId)->Open();
            // Opened again after the first closed: no second notice.
            auto second = CreateInstance<IAudioDevice>(IAudioDevice::ClassId);
            second->Open();
            // The dummy driver consumes the stream although nothing is heard.
            auto stream = CSampleStream::Create(NonZeroPattern(2000));
            CInputStreamSelector selector(stream.Get());
            auto sound = CPtr<ISound>::Adopt(second->CreateSound(selector, SOUND_MODE_STREAMED));
            sound->Start();
            ended = WaitFor([&] { return !sound->IsPlaying(); }, 5s);
        }
        q.Close();
        std::exit(ended ? 0 : 3);
    };
    EXPECT_EXIT(run(), ::testing::ExitedWithCode(0),
                "^nexilon: no audio device could be opened \\([^\n]*\\); playback is silent\n$");
}
