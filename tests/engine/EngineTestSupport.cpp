#include "EngineTestSupport.h"

#include <climits>

#include <gtest/gtest.h>

#include "nexilon/Nexilon.h"

namespace enginetest {

namespace {

// Every test of this program runs with the framework initialised and both
// engine classes registered.
class EngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterPlayerClass();
    }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new EngineEnvironment());

int32_t Between(std::mt19937& random, int32_t low, int32_t high)
{
    return std::uniform_int_distribution<int32_t>(low, high)(random);
}

bool Chance(std::mt19937& random, int percent)
{
    return Between(random, 0, 99) < percent;
}

// Mostly the values that break careless arithmetic, sometimes any value.
int32_t Extreme(std::mt19937& random)
{
    static const int32_t edges[] = {0, 1, -1, 2, 255, 256, 65536, 131072, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1};
    if (Chance(random, 50))
        return edges[Between(random, 0, std::size(edges) - 1)];
    return static_cast<int32_t>(random());
}

rix::TRixEnvelope RandomEnvelope(std::mt19937& random)
{
    return {Between(random, -100, 300), Between(random, 0, 400), Between(random, 0, 5000), Between(random, 0, 5),
            Between(random, 0, 65536), Between(random, 0, 131072), Between(random, 0, 131072), Chance(random, 50),
            Chance(random, 50)};
}

rix::TRixEnvelope HostileEnvelope(std::mt19937& random)
{
    return {Extreme(random), Extreme(random), Extreme(random), Extreme(random), Extreme(random),
            Extreme(random), Extreme(random), Chance(random, 50), Chance(random, 50)};
}

rix::TRixOscillator RandomOscillator(std::mt19937& random, int32_t maxVolume)
{
    rix::TRixOscillator oscillator;
    oscillator.type = Chance(random, 90) ? Between(random, 0, 3) : Between(random, -1, 12);
    oscillator.volume = Between(random, 0, maxVolume);
    oscillator.pitch = Between(random, -2400, 2400);
    oscillator.volumeEnvelope = RandomEnvelope(random);
    oscillator.transitionEnvelope = RandomEnvelope(random);
    if (Chance(random, 50))
        oscillator.transitionEnvelope = {256, 256, 65, 0, 16384, 0, 0, true, false};
    oscillator.transition = Chance(random, 50);
    return oscillator;
}

rix::TRixEffect RandomEffect(std::mt19937& random)
{
    rix::TRixEffect effect = rix::TRixEffect::OfType(Between(random, 0, 7));
    effect.envelope1 = RandomEnvelope(random);
    effect.envelope2 = RandomEnvelope(random);
    effect.param1 = Between(random, 0, 400);
    effect.param2 = Between(random, 0, 300);
    // Levels that keep most of the mix below the clamp, so that a wrong
    // sample shows instead of being clipped away.
    switch (effect.type) {
    case rix::RIXEFFECT_DELAY:
        effect.param2 = Between(random, 0, 200);
        break;
    case rix::RIXEFFECT_FLANGE:
        effect.envelope1.maxValue = Between(random, -5, 300);
        break;
    case rix::RIXEFFECT_OVERDRIVE:
        effect.param2 = Between(random, 0, 40);
        break;
    case rix::RIXEFFECT_LOWPASS:
    case rix::RIXEFFECT_HIGHPASS:
    case rix::RIXEFFECT_RESONANCE:
        // Filters stay stable with coefficients up to 255 (1.0).
        effect.param1 = Between(random, 0, 255);
        effect.param2 = Between(random, 0, 150);
        effect.envelope1.minValue = Between(random, 0, 256);
        effect.envelope1.maxValue = Between(random, 0, 256);
        effect.envelope2.minValue = Between(random, 0, 256);
        effect.envelope2.maxValue = Between(random, 0, 256);
        break;
    default:
        break;
    }
    return effect;
}

void RandomArrangement(rix::CRixModuleData& data, std::mt19937& random, int positions)
{
    for (int c = 0; c < rix::RIX_CHANNELS; ++c) {
        for (int p = 0; p < positions; ++p)
            data.orderTable[c][p] = Chance(random, 80) ? Between(random, 0, 3) : Between(random, 0, 20);
        for (int pattern = 0; pattern < rix::RIX_PATTERNS; ++pattern) {
            for (int r = 0; r < rix::RIX_ROWS; ++r) {
                const int kind = Between(random, 0, 99);
                uint32_t& cell = data.patterns[c][pattern][r];
                cell = kind < 55 ? 0 : kind < 88 ? Between(random, 1, 113) : kind < 95 ? 255 : Between(random, 1, 400);
            }
        }
    }
    data.orderTable[Between(random, 0, 7)][positions - 1] = 1;
}

} // namespace

nexilon::CPtr<rix::IRixModule> NewModule()
{
    return nexilon::CreateInstance<rix::IRixModule>(rix::CRixModule::ClassId);
}

nexilon::CPtr<rix::IRixModulePlayer> NewPlayer()
{
    return nexilon::CreateInstance<rix::IRixModulePlayer>(rix::RIX_MODULE_PLAYER_CLASS);
}

void Edit(rix::IRixModule& module, const std::function<void(rix::CRixModuleData&)>& change)
{
    rix::CRixModuleLock lock(module, nexilon::LOCKMODE_WRITE);
    change(*lock);
}

std::vector<int16_t> ReadSamples(rix::IRixModulePlayer& player, uint32_t samples)
{
    std::vector<int16_t> result(samples + 1);
    const uint64_t bytes = player.Read(result.data(), uint64_t(samples) * 2);
    result.resize(bytes / 2);
    return result;
}

void OneChannelSong(rix::CRixModuleData& data, int channel, const std::vector<uint32_t>& notes)
{
    data.orderTable[channel][0] = 1;
    for (std::size_t r = 0; r < notes.size(); ++r)
        data.patterns[channel][1][r] = notes[r];
}

void RandomSong(rix::CRixModuleData& data, std::mt19937& random)
{
    data.Reset();
    data.bpm = Between(random, 100, 480);
    data.masterVolume = Chance(random, 10) ? Between(random, 0, 400) : Between(random, 4, 30);
    RandomArrangement(data, random, Between(random, 1, 2));
    for (rix::CRixModuleChannel& channel : data.channels) {
        channel.volume = Between(random, 0, 200);
        channel.envelope = RandomEnvelope(random);
        // A negative channel gain turns into a huge unsigned one: rare.
        if (Chance(random, 90))
            channel.envelope.minValue = Between(random, 0, 200);
        if (Chance(random, 30))
            channel.envelope = rix::TRixEnvelope::ChannelDefault();
        const int oscillators = Between(random, 0, 4);
        channel.oscillators.clear();
        channel.transitionOscillators.clear();
        for (int i = 0; i < oscillators; ++i) {
            channel.oscillators.push_back(RandomOscillator(random, 150));
            channel.transitionOscillators.push_back(RandomOscillator(random, 2000));
            channel.transitionOscillators.back().transition = Chance(random, 10);
        }
        const int effects = Between(random, 0, 3);
        for (int i = 0; i < effects; ++i)
            channel.effects.push_back(RandomEffect(random));
    }
}

void HostileSong(rix::CRixModuleData& data, std::mt19937& random)
{
    data.Reset();
    static const int32_t tempos[] = {-5, 0, 1, 2, 59, 120, 100000, 10000000, INT_MAX, INT_MIN};
    data.bpm = Chance(random, 70) ? tempos[Between(random, 0, std::size(tempos) - 1)] : Between(random, -5, 10000000);
    data.masterVolume = Extreme(random);
    RandomArrangement(data, random, Between(random, 1, 3));
    for (int c = 0; c < rix::RIX_CHANNELS; ++c)
        for (int r = 0; r < rix::RIX_ROWS; ++r)
            if (Chance(random, 20))
                data.patterns[c][Between(random, 0, 15)][r] = static_cast<uint32_t>(Extreme(random));
    for (rix::CRixModuleChannel& channel : data.channels) {
        channel.volume = Extreme(random);
        channel.envelope = HostileEnvelope(random);
        const int oscillators = Between(random, 0, 3);
        channel.oscillators.clear();
        channel.transitionOscillators.clear();
        for (int i = 0; i < oscillators; ++i) {
            for (auto* list : {&channel.oscillators, &channel.transitionOscillators}) {
                rix::TRixOscillator oscillator;
                oscillator.type = Chance(random, 80) ? Between(random, 0, 3) : Extreme(random);
                oscillator.volume = Extreme(random);
                oscillator.pitch = Chance(random, 50) ? Between(random, -10000, 10000) : Extreme(random);
                oscillator.volumeEnvelope = HostileEnvelope(random);
                oscillator.transitionEnvelope = HostileEnvelope(random);
                oscillator.transition = Chance(random, 50);
                list->push_back(oscillator);
            }
        }
        const int effects = Between(random, 0, 2);
        for (int i = 0; i < effects; ++i) {
            rix::TRixEffect effect;
            effect.type = Chance(random, 90) ? Between(random, 0, 6) : Extreme(random);
            effect.envelope1 = HostileEnvelope(random);
            effect.envelope2 = HostileEnvelope(random);
            effect.param1 = Extreme(random);
            effect.param2 = Extreme(random);
            // Extreme delays fill the capped history (32 MB, zeroed on every
            // tempo change); a few of them are enough.
            if (effect.type == rix::RIXEFFECT_DELAY && Chance(random, 90))
                effect.param1 = Between(random, -10, 400);
            channel.effects.push_back(effect);
        }
    }
}

} // namespace enginetest
