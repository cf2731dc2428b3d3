#include <climits>
#include <limits>
#include <random>
#include <vector>

#include "EngineTestSupport.h"
#include "ReferencePlayer.h"

namespace {

struct Case { const char* name; bool hostile, crowded, events; uint32_t firstSeed, seeds, budget; };

// Plays a random song on the engine and the reference with the same random
// operations, reporting the first sample where they differ. Sane songs keep
// most of the mix below the clamp, so that a wrong sample shows, and filters
// stable (coefficients up to 255); hostile ones take any 32-bit value.
class RandomSession {
public:
    RandomSession(const Case& c, uint32_t seed) : random(seed), seed(seed), hostile(c.hostile)
    {
        MakeSong();
        if (c.crowded)
            Crowd();
        enginetest::Edit(*module, [&](rix::CRixModuleData& data) { data = song; });
        player->Connect(module.Get());
        reference.Connect(&song);
    }

    // Reads the whole song (or `budget` samples) in chunks of random size,
    // with seeks, edits, mutes, loop switches and reconnections in between.
    void Run(uint32_t budget, bool withEvents)
    {
        for (uint32_t rendered = 0; rendered < budget && !player->IsEof() && !::testing::Test::HasFailure();) {
            if (withEvents)
                RandomEvent();
            const uint32_t bytes = Between(1, 9000);
            std::vector<unsigned char> buffer(bytes);
            const uint64_t got = player->Read(buffer.data(), bytes);
            const std::vector<int16_t> expected = reference.Read(bytes / 2);
            ASSERT_EQ(got, expected.size() * 2) << "seed " << seed << " after " << rendered << " samples";
            for (std::size_t k = 0; k < expected.size(); ++k)
                ASSERT_EQ(int16_t(buffer[2 * k] | buffer[2 * k + 1] << 8), expected[k])
                    << "seed " << seed << " sample " << rendered + k;
            rendered += static_cast<uint32_t>(expected.size());
            CompareRings();
        }
    }

private:
    int32_t Between(int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random); }
    bool Chance(int percent) { return Between(0, 99) < percent; }

    // Mostly the values that break careless arithmetic, sometimes any value.
    int32_t Any(int32_t low, int32_t high)
    {
        static const int32_t edges[] = {0, 1, -1, 2, 255, 256, 65536, 131072, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1};
        if (!hostile)
            return Between(low, high);
        return Chance(50) ? edges[Between(0, std::size(edges) - 1)] : static_cast<int32_t>(random());
    }

    void MakeSong()
    {
        static const int32_t tempos[] = {-5, 0, 1, 2, 59, 120, 100000, 10000000, INT_MAX, INT_MIN};
        song.bpm = !hostile ? Between(100, 480)
                   : Chance(70) ? tempos[Between(0, std::size(tempos) - 1)]
                                : Between(-5, 10000000);
        song.masterVolume = Chance(10) ? Any(0, 400) : Any(4, 30);
        const int positions = Between(1, 5);
        for (int c = 0; c < rix::RIX_CHANNELS; ++c) {
            for (int p = 0; p < positions; ++p)
                song.orderTable[c][p] = Chance(80) ? Between(0, 3) : Between(0, 20);
            for (auto& pattern : song.patterns[c]) {
                for (uint32_t& cell : pattern) {
                    const int kind = Between(0, 99);
                    cell = kind < 55 ? 0 : kind < 88 ? Between(1, 113) : kind < 95 ? 255 : Any(1, 400);
                }
            }
        }
        song.orderTable[Between(0, 7)][positions - 1] = 1;
        for (rix::CRixModuleChannel& channel : song.channels) {
            channel.volume = Any(0, 200);
            channel.envelope = Envelope();
            // A negative channel gain turns into a huge unsigned one: rare.
            if (Chance(90))
                channel.envelope.minValue = Any(0, 200);
            if (!hostile && Chance(30))
                channel.envelope = rix::TRixEnvelope::ChannelDefault();
            channel.oscillators = channel.transitionOscillators = {};
            for (int i = Between(0, 4); i > 0; --i) {
                channel.oscillators.push_back(Oscillator(150));
                channel.transitionOscillators.push_back(Oscillator(2000));
                channel.transitionOscillators.back().transition = Chance(hostile ? 50 : 10);
            }
            for (int i = Between(0, hostile ? 2 : 3); i > 0; --i)
                channel.effects.push_back(Effect());
        }
    }

    rix::TRixEnvelope Envelope()
    {
        return {Any(-100, 300), Any(0, 400),    Any(0, 5000), Any(0, 5),  Any(0, 65536),
                Any(0, 131072), Any(0, 131072), Chance(50),   Chance(50)};
    }

    rix::TRixOscillator Oscillator(int32_t maxVolume)
    {
        rix::TRixOscillator oscillator{Chance(90) ? Between(0, 3) : Any(-1, 12), Any(0, maxVolume),
                                       Chance(50) ? Between(-2400, 2400) : Any(-2400, 2400), Envelope(), Envelope(),
                                       Chance(50)};
        if (!hostile && Chance(50))
            oscillator.transitionEnvelope = {256, 256, 65, 0, 16384, 0, 0, true, false};
        return oscillator;
    }

    rix::TRixEffect Effect()
    {
        rix::TRixEffect effect{Chance(90) ? Between(0, 6) : Any(7, 7), Envelope(), Envelope(), Any(0, 400),
                               Any(0, 300)};
        // Extreme delays fill the capped history (32 MB, zeroed on every
        // tempo change); a few of them are enough, and more than four would
        // exceed the song's history budget.
        if (effect.type == rix::RIXEFFECT_DELAY && Chance(90))
            effect.param1 = Between(hostile ? -10 : 0, 400);
        if (hostile)
            return effect;
        if (effect.type == rix::RIXEFFECT_DELAY) {
            effect.param2 = Between(0, 200);
        } else if (effect.type == rix::RIXEFFECT_FLANGE) {
            effect.envelope1.maxValue = Between(-5, 300);
        } else if (effect.type == rix::RIXEFFECT_OVERDRIVE) {
            effect.param2 = Between(0, 40);
        } else if (effect.type <= rix::RIXEFFECT_RESONANCE) {
            effect.param1 = Between(0, 255);
            effect.param2 = Between(0, 150);
            for (int32_t* value : {&effect.envelope1.minValue, &effect.envelope1.maxValue, &effect.envelope2.minValue,
                                   &effect.envelope2.maxValue})
                *value = Between(0, 256);
        }
        return effect;
    }

    // Only the first 256 envelopes of a channel are stepped, restarted and
    // released; the ones after them keep their first value. Channels 0 and
    // 5 get 70 more oscillators, all frequency modulated so that every
    // envelope counts, and six more effects.
    void Crowd()
    {
        for (int c : {0, 5}) {
            rix::CRixModuleChannel& channel = song.channels[c];
            for (int i = 0; i < 70; ++i) {
                const rix::TRixOscillator carrier = Oscillator(150);
                channel.InsertOscillator(0, carrier, Oscillator(2000));
                channel.oscillators[0].transition = true;
            }
            for (int i = 0; i < 6; ++i)
                channel.effects.push_back(Effect());
            channel.volume = 8;
        }
        song.orderTable[0][0] = song.orderTable[5][0] = 1;
    }

    void RandomEvent()
    {
        const int32_t kind = Between(0, 99);
        const int channel = Between(0, 7);
        if (kind < 6) {
            const uint64_t target = hostile && kind < 2 ? uint64_t(random()) << 32 | random()
                                                        : Between(0, static_cast<int32_t>(player->GetLength() + 20000));
            player->Seek(target);
            reference.Seek(target);
        } else if (kind < 12) {
            enginetest::Edit(*module, [&](rix::CRixModuleData& data) { ChangeSomething(data, channel); });
            ChangeSomething(song, channel);
            reference.Changed();
            changes++;
        } else if (kind < 14) {
            player->SetChannelEnabled(channel, kind == 12);
            reference.SetEnabled(channel, kind == 12);
        } else if (kind < 15) {
            const bool on = Chance(25);
            player->SetLoopPattern(on);
            reference.SetLoop(on);
        } else if (kind < 16) {
            player->Connect(module.Get());
            reference.Connect(&song);
        } else if (hostile && kind < 30) {
            // Any argument: SeekToRow and Skip must land where a seek to the
            // position they report lands, and the queries must stay harmless.
            if (kind % 2 == 0)
                player->SeekToRow(kind % 4 == 0 ? UINT_MAX : random());
            else
                player->Skip(kind % 4 == 1 ? INT64_MIN : INT64_MAX);
            reference.Seek(player->Tell());
            static const float times[] = {-1.0f, 1e30f, std::numeric_limits<float>::infinity(),
                                          std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::denorm_min()};
            int32_t window[64];
            player->CopyOutput(static_cast<int32_t>(random()), random(), window, 64);
            player->RowAtTime(times[random() % std::size(times)]);
            player->TimeOfRow(random());
        }
    }

    // The same edit on both copies; `changes` makes it differ each time.
    void ChangeSomething(rix::CRixModuleData& data, int channel)
    {
        rix::CRixModuleChannel& target = data.channels[channel];
        const int kind = (changes + channel) % 6;
        if (kind == 0) {
            data.bpm = hostile ? static_cast<int32_t>(changes * 2654435761u) : 90 + (changes * 37) % 300;
        } else if (kind == 1) {
            target.volume = (changes * 53) % 300;
        } else if (kind == 2 && !target.oscillators.empty()) {
            target.oscillators[0].pitch += 100;
            target.oscillators[0].volumeEnvelope.speed += 500;
        } else if (kind == 3) {
            target.AddOscillator();
            target.oscillators.back().type = changes % 4;
        } else if (kind == 4 && !target.effects.empty()) {
            target.effects.back().param1 = (changes * 29) % 300;
        } else if (kind == 4) {
            target.effects.push_back(rix::TRixEffect::OfType(rix::RIXEFFECT_DELAY));
        } else if (kind == 5) {
            data.masterVolume = 50 + (changes * 71) % 400;
        }
    }

    void CompareRings()
    {
        const int channel = Between(-1, 7);
        const uint32_t back = Chance(10) ? 65536 : Between(1, 500);
        std::vector<int32_t> copied(back);
        player->CopyOutput(channel, static_cast<uint32_t>(player->Tell() - uint64_t(back) * 2), copied.data(), back);
        const reference::Ring& ring = reference.History(channel);
        for (uint32_t k = 0; k < back; ++k)
            ASSERT_EQ(copied[k], ring.values[(ring.index - back + k) & 0xFFFF])
                << "seed " << seed << " ring of channel " << channel << " at -" << back - k;
    }

    std::mt19937 random;
    uint32_t seed;
    bool hostile;
    rix::CRixModuleData song;
    nexilon::CPtr<rix::IRixModule> module = enginetest::NewModule();
    nexilon::CPtr<rix::IRixModulePlayer> player = enginetest::NewPlayer();
    reference::Player reference;
    int changes = 0;
};

class ReferenceComparison : public ::testing::TestWithParam<Case> {};

// Hostile songs may hold any 32-bit value in every member (tempos from -5
// to 10^7 and beyond); with them the sanitizer build must stay silent.
TEST_P(ReferenceComparison, RandomSongsMatchEverySample)
{
    const Case& c = GetParam();
    for (uint32_t seed = c.firstSeed; seed < c.firstSeed + c.seeds && !HasFailure(); ++seed)
        RandomSession(c, seed).Run(c.budget, c.events);
}

INSTANTIATE_TEST_SUITE_P(Songs, ReferenceComparison,
                         ::testing::Values(Case{"PlayedThrough", false, false, false, 1, 40, 1u << 20},
                                           Case{"WithSeeksEditsMutesLoops", false, false, true, 100, 40, 150000},
                                           Case{"Over256Envelopes", false, true, true, 500, 4, 60000},
                                           Case{"HostileValuesAndArguments", true, false, true, 1000, 80, 30000}),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
