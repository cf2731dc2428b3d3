// Writes the instrument presets (".sonrixi") that the editor offers under
// "Load > Presets", and prints the level each renders for its test note, so
// a change of a sound can be judged by ear and by number before it is
// committed. Usage: sonrix3-make-presets FOLDER
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "IRixModulePlayer.h"
#include "ModuleArchive.h"
#include "ModuleFiles.h"
#include "RixModule.h"
#include "nexilon/Nexilon.h"

using namespace rix;

namespace {

// Envelope shapes. The value follows a sine from maxValue (phase 16384) to
// minValue (phase 49152); a counter span of 32768 takes 32768 / speed steps
// of 44 samples, so the time of a full fall or rise is 32.7 / speed seconds.
TRixEnvelope Constant(int32_t value)
{
    return {value, value, 65, RIXRESET_NOTE, 16384, 0, 0, true, false};
}
// Falls from max to min and stays.
TRixEnvelope Decay(int32_t speed, int32_t min = 0, int32_t max = 256)
{
    return {min, max, speed, RIXRESET_NOTE, 16384, 32768, 0, true, false};
}
// Rises from min to max and stays.
TRixEnvelope Attack(int32_t speed, int32_t min = 0, int32_t max = 256)
{
    return {min, max, speed, RIXRESET_NOTE, 49152, 32768, 0, true, false};
}
// Falls until the counter reaches sustain (16384 is halfway) while the note
// is held, then on to min after the stop note.
TRixEnvelope DecaySustain(int32_t speed, int32_t sustain, int32_t min = 0, int32_t max = 256)
{
    return {min, max, speed, RIXRESET_NOTE, 16384, 32768, sustain, true, true};
}
// Full while the note is held, then falls to 0: the release of a channel.
TRixEnvelope Release(int32_t speed)
{
    return DecaySustain(speed, 0);
}
// Swings around 256 forever: a frequency factor for vibrato. speed 350 is
// about 5.4 Hz (speed × 44100 / 44 / 65536).
TRixEnvelope Wobble(int32_t depth, int32_t speed, int32_t centre = 256)
{
    return {centre - depth, centre + depth, speed, RIXRESET_NOTE, 16384, 0, 0, false, false};
}

TRixOscillator Osc(int32_t type, int32_t volume, int32_t pitch, TRixEnvelope volumeEnvelope,
                   TRixEnvelope transitionEnvelope = TRixEnvelope::Default())
{
    TRixOscillator oscillator;
    oscillator.type = type;
    oscillator.volume = volume;
    oscillator.pitch = pitch;
    oscillator.volumeEnvelope = volumeEnvelope;
    oscillator.transitionEnvelope = transitionEnvelope;
    return oscillator;
}

TRixEffect Effect(int32_t type, int32_t param1, int32_t param2 = 0, TRixEnvelope envelope1 = TRixEnvelope::Default(),
                  TRixEnvelope envelope2 = TRixEnvelope::Default())
{
    TRixEffect effect = TRixEffect::OfType(type);
    effect.param1 = param1;
    effect.param2 = param2;
    effect.envelope1 = envelope1;
    effect.envelope2 = envelope2;
    return effect;
}

class CInstrument {
public:
    CInstrument(int32_t volume, TRixEnvelope envelope)
    {
        channel.volume = volume;
        channel.envelope = envelope;
        channel.oscillators.clear();
        channel.transitionOscillators.clear();
    }
    CInstrument& Add(const TRixOscillator& oscillator)
    {
        channel.InsertOscillator(channel.oscillators.size(), oscillator, TRixOscillator());
        return *this;
    }
    // An oscillator whose frequency the modulator moves.
    CInstrument& AddModulated(TRixOscillator carrier, const TRixOscillator& modulator)
    {
        carrier.transition = true;
        channel.InsertOscillator(channel.oscillators.size(), carrier, modulator);
        return *this;
    }
    CInstrument& Chain(const TRixEffect& effect)
    {
        channel.effects.push_back(effect);
        return *this;
    }
    CRixModuleChannel channel;
};

struct TPreset {
    const char* file;
    uint32_t note; // a note of the sound's range: 25 C-2, 37 C-3, 49 C-4, 61 C-5, 73 C-6
    std::function<CInstrument()> make;
};

const std::vector<TPreset>& Presets()
{
    static const std::vector<TPreset> presets = {
        {"bass", 37,
         [] {
             return CInstrument(150, Release(300))
                 .Add(Osc(RIXOSC_SAW, 150, 0, DecaySustain(40, 12288)))
                 .Add(Osc(RIXOSC_SQUARE, 80, -1200, DecaySustain(40, 12288)))
                 .Chain(Effect(RIXEFFECT_LOWPASS, 90, 0, Decay(120, 40)));
         }},
        {"sub-bass", 37,
         [] {
             return CInstrument(170, Release(200))
                 .Add(Osc(RIXOSC_SINE, 256, -1200, Constant(256)))
                 .Chain(Effect(RIXEFFECT_OVERDRIVE, 60, 110))
                 .Chain(Effect(RIXEFFECT_LOWPASS, 60));
         }},
        {"lead", 61,
         [] {
             return CInstrument(140, DecaySustain(65, 4096))
                 .Add(Osc(RIXOSC_SAW, 120, 7, Constant(256), Wobble(3, 350)))
                 .Add(Osc(RIXOSC_SAW, 120, -7, Constant(256), Wobble(3, 330)))
                 .Chain(Effect(RIXEFFECT_LOWPASS, 160));
         }},
        {"fm-lead", 61,
         [] {
             return CInstrument(140, DecaySustain(65, 6144))
                 .AddModulated(Osc(RIXOSC_SINE, 200, 0, Constant(256), Wobble(2, 360)),
                               Osc(RIXOSC_SINE, 60, 0, DecaySustain(60, 10240, 90)))
                 .Chain(Effect(RIXEFFECT_DELAY, 300, 70));
         }},
        {"pad", 49,
         [] {
             return CInstrument(130, Release(25))
                 .Add(Osc(RIXOSC_SAW, 90, 0, Attack(35)))
                 .Add(Osc(RIXOSC_SAW, 90, 10, Attack(35)))
                 .Add(Osc(RIXOSC_SAW, 90, -10, Attack(35)))
                 .Add(Osc(RIXOSC_SINE, 80, -1200, Attack(35)))
                 .Chain(Effect(RIXEFFECT_LOWPASS, 60, 0, Wobble(60, 10, 190)))
                 .Chain(Effect(RIXEFFECT_DELAY, 200, 90));
         }},
        {"pluck", 61,
         [] {
             return CInstrument(150, Release(400))
                 .Add(Osc(RIXOSC_SQUARE, 150, 0, Decay(110)))
                 .Add(Osc(RIXOSC_SAW, 100, 1200, Decay(110)))
                 .Chain(Effect(RIXEFFECT_LOWPASS, 200, 0, Decay(160, 20)))
                 .Chain(Effect(RIXEFFECT_DELAY, 150, 60));
         }},
        {"fm-bell", 73,
         [] {
             return CInstrument(150, Release(20))
                 .AddModulated(Osc(RIXOSC_SINE, 220, 0, Decay(18)), Osc(RIXOSC_SINE, 90, 2169, Decay(40)))
                 .Add(Osc(RIXOSC_SINE, 50, 1200, Decay(30)))
                 .Chain(Effect(RIXEFFECT_DELAY, 300, 80));
         }},
        {"organ", 49,
         [] {
             return CInstrument(130, Release(400))
                 .Add(Osc(RIXOSC_SINE, 110, 0, Constant(256), Wobble(2, 420)))
                 .Add(Osc(RIXOSC_SINE, 90, 1200, Constant(256), Wobble(2, 420)))
                 .Add(Osc(RIXOSC_SINE, 60, 1902, Constant(256), Wobble(2, 420)))
                 .Add(Osc(RIXOSC_SINE, 45, 2400, Constant(256), Wobble(2, 420)))
                 .Add(Osc(RIXOSC_SINE, 70, -1200, Constant(256)))
                 .Chain(Effect(RIXEFFECT_FLANGE, 0, 0, {40, 120, 30, RIXRESET_SONG, 16384, 0, 0, false, false}));
         }},
        {"kick", 49,
         [] {
             return CInstrument(200, Constant(256))
                 .Add(Osc(RIXOSC_SINE, 256, -2400, Decay(110), Decay(380, 256, 1280)))
                 .Chain(Effect(RIXEFFECT_OVERDRIVE, 120, 160));
         }},
        {"snare", 49,
         [] {
             return CInstrument(180, Constant(256))
                 .Add(Osc(RIXOSC_NOISE, 150, 0, Decay(170)))
                 .Add(Osc(RIXOSC_SINE, 150, -600, Decay(300), Decay(600, 256, 512)))
                 .Chain(Effect(RIXEFFECT_LOWPASS, 220));
         }},
        {"hi-hat", 61,
         [] {
             return CInstrument(160, Constant(256))
                 .Add(Osc(RIXOSC_NOISE, 220, 0, Decay(600)))
                 .Chain(Effect(RIXEFFECT_HIGHPASS, 170))
                 .Chain(Effect(RIXEFFECT_HIGHPASS, 170));
         }},
        {"clap", 49,
         [] {
             return CInstrument(180, Constant(256))
                 .Add(Osc(RIXOSC_NOISE, 200, 0, {0, 256, 1400, RIXRESET_NOTE, 16384, 163840, 0, true, false}))
                 .Add(Osc(RIXOSC_NOISE, 90, 0, Decay(90)))
                 .Chain(Effect(RIXEFFECT_HIGHPASS, 120))
                 .Chain(Effect(RIXEFFECT_LOWPASS, 180));
         }},
        {"tom", 49,
         [] {
             return CInstrument(190, Constant(256))
                 .Add(Osc(RIXOSC_SINE, 230, -1200, Decay(80), Decay(160, 256, 420)))
                 .Add(Osc(RIXOSC_NOISE, 30, 0, Decay(400)));
         }},
        {"noise-sweep", 49,
         [] {
             return CInstrument(240, Release(40))
                 .Add(Osc(RIXOSC_NOISE, 256, 0, Attack(12, 60)))
                 .Chain(Effect(RIXEFFECT_RESONANCE, 120, 200, Attack(12, 20)));
         }},
        {"chord-stab", 49,
         [] {
             const TRixEnvelope shape = DecaySustain(90, 8192);
             return CInstrument(140, Release(150))
                 .Add(Osc(RIXOSC_SAW, 70, 0, shape))
                 .Add(Osc(RIXOSC_SAW, 70, 400, shape))
                 .Add(Osc(RIXOSC_SAW, 70, 700, shape))
                 .Add(Osc(RIXOSC_SAW, 70, 1200, shape))
                 .Chain(Effect(RIXEFFECT_LOWPASS, 140, 0, Decay(70, 60)))
                 .Chain(Effect(RIXEFFECT_DELAY, 300, 90));
         }},
        {"echo-lead", 61,
         [] {
             return CInstrument(140, DecaySustain(50, 8192))
                 .Add(Osc(RIXOSC_SQUARE, 130, 0, Constant(256), Wobble(2, 340)))
                 .Add(Osc(RIXOSC_SQUARE, 60, 1205, Constant(256)))
                 .Chain(Effect(RIXEFFECT_LOWPASS, 170))
                 .Chain(Effect(RIXEFFECT_DELAY, 300, 110));
         }},
        {"fm-brass", 49,
         [] {
             return CInstrument(140, Release(200))
                 .AddModulated(Osc(RIXOSC_SINE, 210, 0, Attack(200)), Osc(RIXOSC_SINE, 70, 0, Attack(90, 20)))
                 .Chain(Effect(RIXEFFECT_LOWPASS, 200));
         }},
    };
    return presets;
}

// Plays the note for 8 rows and lets it ring for 8 more, as the editor's
// preview does, and prints peak and RMS of the mix.
void PrintLevel(const TPreset& preset, const CRixModuleChannel& channel)
{
    auto module = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
    {
        CRixModuleLock lock(*module, nexilon::LOCKMODE_WRITE);
        lock->channels[0] = channel;
        lock->orderTable[0][0] = 1;
        lock->patterns[0][1][0] = preset.note;
        lock->patterns[0][1][8] = RIX_NOTE_STOP;
    }
    auto player = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
    player->Connect(module.Get());
    std::vector<int16_t> samples(16 * 5512);
    samples.resize(player->Read(samples.data(), samples.size() * 2) / 2);
    int peak = 0;
    double sum = 0;
    for (int16_t sample : samples) {
        peak = std::max(peak, std::abs(int(sample)));
        sum += double(sample) * sample;
    }
    std::printf("%-12s note %3u  peak %6d  rms %8.1f\n", preset.file, preset.note, peak,
                std::sqrt(sum / double(samples.size())));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: sonrix3-make-presets FOLDER\n");
        return 2;
    }
    nexilon::q.Init();
    RegisterModuleClass();
    RegisterPlayerClass();
    RegisterArchiveStreamClasses();
    try {
        for (const TPreset& preset : Presets()) {
            const CRixModuleChannel channel = preset.make().channel;
            WriteInstrumentFile(std::string(argv[1]) + "/" + preset.file + ".sonrixi", channel);
            PrintLevel(preset, channel);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "sonrix3-make-presets: %s\n", error.what());
        return 1;
    }
    return 0;
}
