#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <limits>
#include <thread>

#include "DiskAudioCapture.h"
#include "SampleStream.h"
#include "nexilon/AudioDevice.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/Nexilon.h"
#include "nexilon/Sound.h"

using namespace nexilon;
using namespace std::chrono_literals;

namespace {

// An open device playing into a disk capture named after the test.
class AudioOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        q.Init();
        device = CreateInstance<IAudioDevice>(IAudioDevice::ClassId);
        device->Open();
    }
    void TearDown() override
    {
        device.Reset();
        q.Close();
    }

    CPtr<ISound> MakeSound(IObject* stream)
    {
        CInputStreamSelector selector(stream);
        return CPtr<ISound>::Adopt(device->CreateSound(selector, SOUND_MODE_STREAMED));
    }
    static bool WaitForEnd(ISound& sound) { return WaitFor([&] { return !sound.IsPlaying(); }, 10s); }
    // The whole recording, by default without the gaps of underruns (with
    // several sounds playing, a gap of one is no gap of the others): closes
    // the device, so release the sounds first.
    std::vector<int16_t> Recording(bool cutUnderruns = true)
    {
        const std::vector<TUnderrun> underruns = device->GetUnderruns();
        device.Reset();
        return cutUnderruns ? WithoutUnderruns(capture.Samples(), underruns) : capture.Samples();
    }

    CDiskAudioCapture capture{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    CPtr<IAudioDevice> device;
};

} // namespace

// A sound plays its stream exactly, between silence, and stops by itself at
// its end; a start after the end, or after a stop that cut it off anywhere,
// plays the whole stream again.
TEST_F(AudioOutput, PlaysAStreamExactlyAndAgainFromTheBeginningAfterItsEndAndAfterStop)
{
    const std::vector<int16_t> played = NonZeroPattern(3000);
    device->Open(); // opening again changes nothing
    auto sound = MakeSound(CSampleStream::Create(played).Get());
    std::this_thread::sleep_for(30ms);
    EXPECT_FALSE(sound->IsPlaying());
    sound->Start();
    EXPECT_TRUE(sound->IsPlaying());
    ASSERT_TRUE(WaitForEnd(*sound));
    // Once the last queued sample is heard, the position rests at the end.
    EXPECT_TRUE(WaitFor([&] { return sound->GetPosition() == 3000.0f / 44100.0f; }, 1s));
    std::this_thread::sleep_for(30ms);
    sound->Start();
    std::this_thread::sleep_for(25ms);
    sound->Stop();
    EXPECT_FALSE(sound->IsPlaying());
    EXPECT_EQ(sound->GetPosition(), 0.0f);
    sound->Start();
    ASSERT_TRUE(WaitForEnd(*sound));
    std::this_thread::sleep_for(30ms);
    sound.Reset();

    // played, silence, a cut-off head of played, then all of it (after a
    // moment of silence when the restart missed a device buffer).
    const std::vector<int16_t> recorded = TrimSilence(Recording());
    const auto gap = std::find(recorded.begin(), recorded.end(), int16_t{0});
    EXPECT_EQ(std::vector<int16_t>(recorded.begin(), gap), played);
    const std::vector<int16_t> second = TrimSilence({gap, recorded.end()});
    ASSERT_GT(second.size(), played.size());
    const auto whole = second.end() - static_cast<std::ptrdiff_t>(played.size());
    EXPECT_TRUE(std::equal(whole, second.end(), played.begin()));
    const std::vector<int16_t> head = TrimSilence({second.begin(), whole});
    ASSERT_FALSE(head.empty());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), played.begin()));
}

// A third sound whose stream fails ends at once without disturbing the mix.
TEST_F(AudioOutput, MixesPlayingSoundsClampsTheSumTo16BitsAndDropsAFailingStream)
{
    constexpr int kHalf = 3000;
    std::vector<int16_t> played(2 * kHalf, 30000);
    std::fill(played.begin() + kHalf, played.end(), -30000);
    auto broken = CSampleStream::Create(NonZeroPattern(100000));
    broken->SetFailing(true);
    auto failing = MakeSound(broken.Get());
    auto first = MakeSound(CSampleStream::Create(played).Get());
    auto second = MakeSound(CSampleStream::Create(played).Get());
    failing->Start();
    first->Start();
    second->Start();
    ASSERT_TRUE(WaitFor([&] { return !failing->IsPlaying() && !first->IsPlaying() && !second->IsPlaying(); }, 10s));
    failing.Reset();
    first.Reset();
    second.Reset();
    // The second sound may begin d samples later: then d samples of each
    // half are heard alone, and the rest of each half twice, clamped.
    const std::vector<int16_t> recorded = Recording(false);
    auto count = [&](int16_t value) { return std::count(recorded.begin(), recorded.end(), value); };
    EXPECT_EQ(count(32767) + count(30000), kHalf);
    EXPECT_EQ(count(-32768) + count(-30000), kHalf);
    EXPECT_EQ(count(30000), count(-30000));
    EXPECT_GT(count(32767), 0);
    EXPECT_EQ(count(0) + 2 * kHalf, static_cast<std::ptrdiff_t>(recorded.size()));
}

TEST_F(AudioOutput, RefusesUnknownSoundModesAndSoundsWithoutADevice)
{
    auto stream = CSampleStream::Create({1, 2, 3});
    CInputStreamSelector selector(stream.Get());
    for (uint32_t mode : {0u, 1u, 2u, 4u, 0xFFFFFFFFu})
        EXPECT_THROW(device->CreateSound(selector, mode), CInvalidParameterException) << mode;

    // A sound made through the class store has no device: it never plays.
    auto orphan = CreateInstance<ISound>(ISound::ClassId);
    EXPECT_FALSE(orphan->IsPlaying());
    EXPECT_EQ(orphan->GetPosition(), 0.0f);
    orphan->Stop();
    EXPECT_THROW(orphan->Start(), COperationNotSupportedException);
    EXPECT_THROW(orphan->SetPosition(1.0f), COperationNotSupportedException);
}

// SetPosition seeks to the nearest sample; from there the heard position
// trails what the stream has delivered by at most the render-ahead and one
// buffer, at the real-time rate.
TEST_F(AudioOutput, SetPositionSeeksAndTheHeardPositionTrailsTheStream)
{
    constexpr uint64_t kStart = 1200;
    constexpr uint64_t kSamples = kStart + 22050;
    const std::vector<int16_t> played = NonZeroPattern(kSamples);
    auto stream = CSampleStream::Create(played);
    auto sound = MakeSound(stream.Get());
    const struct { float seconds; uint64_t sample; } cases[] = {
        {-1.0f, 0}, {std::numeric_limits<float>::quiet_NaN(), 0}, {1000.4f / 44100.0f, 1000}, {1000.6f / 44100.0f, 1001},
        {1e30f, 1099511627776}, {kStart / 44100.0f, kStart},
    };
    for (const auto& c : cases) {
        sound->SetPosition(c.seconds);
        EXPECT_EQ(sound->GetHeardSample(), c.sample) << c.seconds;
    }
    EXPECT_FLOAT_EQ(sound->GetPosition(), kStart / 44100.0f);

    const auto started = std::chrono::steady_clock::now();
    sound->Start();
    float last = 0.0f;
    int checked = 0;
    while (sound->IsPlaying()) {
        const uint64_t before = stream->Tell() / 2;
        const float heard = sound->GetPosition();
        const uint64_t after = stream->Tell() / 2;
        EXPECT_GE(heard, last);
        last = heard;
        if (before == after && before > kStart && before < kSamples) {
            // Not read past yet, and not more than the render-ahead (1024
            // frames, up to 2048 after underruns) and the buffer just mixed
            // (512 frames, which the disk driver consumes while it waits)
            // behind, plus the 27 frames of the buffer before it still
            // unheard when the driver takes the next one after its 11 ms
            // wait.
            const double frame = static_cast<double>(heard) * 44100.0;
            EXPECT_LE(frame, static_cast<double>(before) + 0.5);
            EXPECT_GE(frame, static_cast<double>(before) - 2048.0 - 512.0 - 27.0);
            ++checked;
        }
        std::this_thread::sleep_for(3ms);
    }
    EXPECT_GT(checked, 10);
    // The driver waits 11 ms per 512 frames (11.6 ms of sound).
    EXPECT_GE(std::chrono::steady_clock::now() - started, 470ms);
    std::this_thread::sleep_for(20ms);
    sound.Reset();
    EXPECT_EQ(TrimSilence(Recording()), std::vector<int16_t>(played.begin() + kStart, played.end()));
}

// Each notice comes once: the fallback, then what the audio threads got.
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
                "^nexilon: no audio device could be opened \\([^\n]*\\); playback is silent\n"
                "nexilon: audio threads run at [^\n]*priority[^\n]*\n$");
}
