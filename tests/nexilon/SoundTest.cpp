#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
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

class Sound : public ::testing::Test {
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
    bool WaitForEnd(ISound& sound) { return WaitFor([&] { return !sound.IsPlaying(); }, 10s); }
    // The whole recording: closes the device, so release the sounds first.
    std::vector<int16_t> Recording()
    {
        device.Reset();
        return capture.Samples();
    }

    CDiskAudioCapture capture{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    CPtr<IAudioDevice> device;
};

// The non-silent stretches of a recording of zero-free streams.
std::vector<std::vector<int16_t>> Runs(const std::vector<int16_t>& samples)
{
    std::vector<std::vector<int16_t>> runs;
    bool inRun = false;
    for (int16_t sample : samples) {
        if (sample != 0 && !inRun)
            runs.emplace_back();
        inRun = sample != 0;
        if (inRun)
            runs.back().push_back(sample);
    }
    return runs;
}

} // namespace

TEST_F(Sound, StartsAgainFromTheBeginningAfterItsEndAndAfterStop)
{
    const std::vector<int16_t> played = NonZeroPattern(3000);
    auto sound = MakeSound(CSampleStream::Create(played).Get());
    sound->Start();
    ASSERT_TRUE(WaitForEnd(*sound));
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

    const auto runs = Runs(Recording());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], played);
    // The stopped start, cut off anywhere, then the whole stream again.
    ASSERT_GT(runs[1].size(), played.size());
    const std::size_t cut = runs[1].size() - played.size();
    EXPECT_TRUE(std::equal(runs[1].begin(), runs[1].begin() + static_cast<std::ptrdiff_t>(cut), played.begin()));
    EXPECT_TRUE(std::equal(runs[1].begin() + static_cast<std::ptrdiff_t>(cut), runs[1].end(), played.begin()));
}

TEST_F(Sound, SetPositionSeeksToTheNearestSample)
{
    const std::vector<int16_t> played = NonZeroPattern(3000);
    auto stream = CSampleStream::Create(played);
    auto sound = MakeSound(stream.Get());
    const struct {
        float seconds;
        uint64_t byte;
    } cases[] = {
        {-1.0f, 0},
        {std::numeric_limits<float>::quiet_NaN(), 0},
        {1000.4f / 44100.0f, 2000},
        {1000.6f / 44100.0f, 2002},
        {1e30f, 6000},
        {std::numeric_limits<float>::infinity(), 6000},
        {1200.0f / 44100.0f, 2400},
    };
    for (const auto& c : cases) {
        sound->SetPosition(c.seconds);
        EXPECT_EQ(stream->Tell(), c.byte) << c.seconds;
    }
    EXPECT_FLOAT_EQ(sound->GetPosition(), 1200.0f / 44100.0f);
    sound->Start();
    ASSERT_TRUE(WaitForEnd(*sound));
    std::this_thread::sleep_for(20ms);
    sound.Reset();
    EXPECT_EQ(TrimSilence(Recording()), std::vector<int16_t>(played.begin() + 1200, played.end()));
}

TEST_F(Sound, HeardPositionTrailsTheStreamByAtMostOneBufferAtTheRealTimeRate)
{
    constexpr int kSamples = 22050;
    auto stream = CSampleStream::Create(NonZeroPattern(kSamples));
    auto sound = MakeSound(stream.Get());
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
        if (before == after && before < kSamples) {
            // Not read past yet, and not more than the buffer just read
            // (512 frames, which the disk driver consumes while it waits).
            const double frame = static_cast<double>(heard) * 44100.0;
            EXPECT_LE(frame, static_cast<double>(before) + 0.5);
            EXPECT_GE(frame, static_cast<double>(before) - 512.0 - 0.5);
            ++checked;
        }
        std::this_thread::sleep_for(3ms);
    }
    EXPECT_GT(checked, 10);
    // The driver waits 11 ms per 512 frames (11.6 ms of sound).
    EXPECT_GE(std::chrono::steady_clock::now() - started, 470ms);
}

TEST_F(Sound, HeardPositionOfALoopingStreamStaysInsideTheLoop)
{
    auto stream = CSampleStream::Create(NonZeroPattern(3000));
    stream->SetLoop(1000, 2000);
    auto sound = MakeSound(stream.Get());
    sound->Start();
    const float loopEnd = 2000.0f / 44100.0f;
    int wraps = 0;
    float last = 0.0f;
    const auto until = std::chrono::steady_clock::now() + 300ms;
    while (std::chrono::steady_clock::now() < until) {
        const float heard = sound->GetPosition();
        ASSERT_LT(heard, loopEnd);
        wraps += heard < last ? 1 : 0;
        last = heard;
        std::this_thread::sleep_for(500us);
    }
    EXPECT_TRUE(sound->IsPlaying());
    EXPECT_GE(wraps, 3);
    EXPECT_GE(last, 1000.0f / 44100.0f);
}

TEST(SoundWithoutDevice, NeverPlaysAndRefusesToStart)
{
    q.Init();
    {
        auto sound = CreateInstance<ISound>(ISound::ClassId);
        EXPECT_FALSE(sound->IsPlaying());
        EXPECT_EQ(sound->GetPosition(), 0.0f);
        sound->Stop();
        EXPECT_THROW(sound->Start(), COperationNotSupportedException);
        EXPECT_THROW(sound->SetPosition(1.0f), COperationNotSupportedException);
        for (void (ISound::*reserved)() : {&ISound::Reserved7, &ISound::Reserved8, &ISound::Reserved9,
                                           &ISound::Reserved10, &ISound::Reserved12, &ISound::Reserved15})
            EXPECT_THROW(((*sound).*reserved)(), COperationNotSupportedException);
    }
    q.Close();
}

TEST(SoundLayout, OperationsSitInTheirSlots)
{
    EXPECT_EQ(VirtualSlot(&ISound::Reserved7), 7u);
    EXPECT_EQ(VirtualSlot(&ISound::Reserved10), 10u);
    EXPECT_EQ(VirtualSlot(&ISound::IsPlaying), 11u);
    EXPECT_EQ(VirtualSlot(&ISound::Reserved12), 12u);
    EXPECT_EQ(VirtualSlot(&ISound::Start), 13u);
    EXPECT_EQ(VirtualSlot(&ISound::SetPosition), 14u);
    EXPECT_EQ(VirtualSlot(&ISound::Reserved15), 15u);
    EXPECT_EQ(VirtualSlot(&ISound::Stop), 16u);
    EXPECT_EQ(VirtualSlot(&ISound::GetPosition), 17u);
}
