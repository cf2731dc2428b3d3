#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "ReferencePlayer.h"

namespace {

using enginetest::Edit;

// Drives the engine and the reference with the same random operations and
// reports the first sample where they differ.
class Comparison {
public:
    Comparison(const rix::CRixModuleData& song, uint32_t seed)
        : module(enginetest::NewModule()), player(enginetest::NewPlayer()), song(song), random(seed), seed(seed)
    {
        Edit(*module, [&](rix::CRixModuleData& data) { data = song; });
        player->Connect(module.Get());
        reference.Connect(&this->song);
    }

    // Reads the whole song (or `budget` samples) in chunks of random size,
    // with seeks, edits, mutes and loop switches in between.
    void Run(uint32_t budget, bool withEvents)
    {
        uint32_t rendered = 0;
        while (rendered < budget && !::testing::Test::HasFailure()) {
            if (withEvents)
                RandomEvent();
            const uint32_t bytes = Between(1, 9000);
            std::vector<unsigned char> buffer(bytes);
            const uint64_t got = player->Read(buffer.data(), bytes);
            const std::vector<int16_t> expected = reference.Read(bytes / 2);
            ASSERT_EQ(got, expected.size() * 2) << "seed " << seed << " after " << rendered << " samples";
            for (std::size_t k = 0; k < expected.size(); ++k) {
                const auto sample = static_cast<int16_t>(buffer[2 * k] | buffer[2 * k + 1] << 8);
                ASSERT_EQ(sample, expected[k]) << "seed " << seed << " sample " << rendered + k;
            }
            rendered += static_cast<uint32_t>(expected.size());
            CompareRings();
            if (player->IsEof())
                break;
        }
    }

private:
    uint32_t Between(uint32_t low, uint32_t high)
    {
        return std::uniform_int_distribution<uint32_t>(low, high)(random);
    }

    void RandomEvent()
    {
        const uint32_t kind = Between(0, 99);
        if (kind < 6) {
            const uint64_t target = Between(0, static_cast<uint32_t>(player->GetLength() + 20000));
            player->Seek(target);
            reference.Seek(target);
        } else if (kind < 12) {
            const int channel = static_cast<int>(Between(0, 7));
            Edit(*module, [&](rix::CRixModuleData& data) { ChangeSomething(data, channel); });
            ChangeSomething(song, channel);
            reference.Changed();
            changes++;
        } else if (kind < 14) {
            const int channel = static_cast<int>(Between(0, 7));
            const bool on = Between(0, 1) == 1;
            player->SetChannelEnabled(channel, on);
            reference.SetEnabled(channel, on);
        } else if (kind < 15) {
            const bool on = Between(0, 3) == 0;
            player->SetLoopPattern(on);
            reference.SetLoop(on);
        }
    }

    // The same edit on both copies; `changes` makes it differ each time.
    void ChangeSomething(rix::CRixModuleData& data, int channel)
    {
        rix::CRixModuleChannel& target = data.channels[channel];
        switch ((changes + channel) % 6) {
        case 0:
            data.bpm = 90 + (changes * 37) % 300;
            break;
        case 1:
            target.volume = (changes * 53) % 300;
            break;
        case 2:
            if (!target.oscillators.empty()) {
                target.oscillators[0].pitch += 100;
                target.oscillators[0].volumeEnvelope.speed += 500;
            }
            break;
        case 3:
            target.AddOscillator();
            target.oscillators.back().type = changes % 4;
            break;
        case 4:
            if (!target.effects.empty())
                target.effects.back().param1 = (changes * 29) % 300;
            else
                target.effects.push_back(rix::TRixEffect::OfType(rix::RIXEFFECT_DELAY));
            break;
        default:
            data.masterVolume = 50 + (changes * 71) % 400;
            break;
        }
    }

    void CompareRings()
    {
        const int channel = static_cast<int>(Between(0, 8)) - 1;
        const uint32_t back = Between(0, 9) == 0 ? 65536 : Between(1, 500);
        std::vector<int32_t> copied(back);
        const auto position = static_cast<uint32_t>(player->Tell() - uint64_t(back) * 2);
        player->CopyOutput(channel, position, copied.data(), back);
        const std::vector<int32_t>& ring = channel < 0 ? reference.MasterRing() : reference.VoiceRing(channel);
        const uint32_t index = channel < 0 ? reference.MasterRingIndex() : reference.VoiceRingIndex(channel);
        for (uint32_t k = 0; k < back; ++k)
            ASSERT_EQ(copied[k], ring[(index - back + k) & 0xFFFF])
                << "seed " << seed << " ring of channel " << channel << " at -" << back - k;
    }

    nexilon::CPtr<rix::IRixModule> module;
    nexilon::CPtr<rix::IRixModulePlayer> player;
    rix::CRixModuleData song;
    reference::Player reference;
    std::mt19937 random;
    uint32_t seed;
    int changes = 0;
};

TEST(ReferenceComparison, RandomSongsPlayedThroughMatchEverySample)
{
    for (uint32_t seed = 1; seed <= 40 && !HasFailure(); ++seed) {
        std::mt19937 random(seed);
        rix::CRixModuleData song;
        enginetest::RandomSong(song, random);
        Comparison(song, seed).Run(1u << 20, false);
    }
}

TEST(ReferenceComparison, RandomSongsWithSeeksEditsMutesAndLoopsMatchEverySample)
{
    for (uint32_t seed = 100; seed < 140 && !HasFailure(); ++seed) {
        std::mt19937 random(seed);
        rix::CRixModuleData song;
        enginetest::RandomSong(song, random);
        Comparison(song, seed).Run(150000, true);
    }
}

TEST(ReferenceComparison, ChannelsWithMoreThan256EnvelopesMatchEverySample)
{
    // Only the first 256 envelopes of a channel are stepped, restarted and
    // released; the ones after them keep their first value. Channels 0 and
    // 5 get 70 oscillators and every effect of the others.
    for (uint32_t seed = 500; seed < 504 && !HasFailure(); ++seed) {
        std::mt19937 random(seed);
        rix::CRixModuleData song;
        enginetest::RandomSong(song, random);
        for (int c : {0, 5}) {
            rix::CRixModuleChannel& channel = song.channels[c];
            for (int i = 0; i < 70; ++i) {
                const rix::CRixModuleChannel& donor = song.channels[1 + i % 4];
                channel.InsertOscillator(0, donor.oscillators.empty() ? rix::TRixOscillator() : donor.oscillators[0],
                                         rix::TRixOscillator());
            }
            for (int donor = 1; donor < 5; ++donor)
                channel.effects.insert(channel.effects.end(), song.channels[donor].effects.begin(),
                                       song.channels[donor].effects.end());
            channel.volume = 8;
        }
        song.orderTable[0][0] = song.orderTable[5][0] = 1;
        Comparison(song, seed).Run(60000, true);
    }
}

TEST(ReferenceComparison, HostileSongsMatchEverySample)
{
    for (uint32_t seed = 1000; seed < 1040 && !HasFailure(); ++seed) {
        std::mt19937 random(seed);
        rix::CRixModuleData song;
        enginetest::HostileSong(song, random);
        Comparison(song, seed).Run(30000, true);
    }
}

} // namespace
