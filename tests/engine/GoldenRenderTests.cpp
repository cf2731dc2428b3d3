#include <cstdint>
#include <functional>

#include "EngineTestSupport.h"

// Whole renders of three small songs, kept as FNV-1a hashes of their
// samples. The reference comparison catches the engine drifting from the
// reference; these catch a change of sound that both would share. A hash
// that moves on purpose is re-recorded from the test's failure message.
namespace {

using rix::TRixEffect;
using rix::TRixEnvelope;
using rix::TRixOscillator;

// An envelope that keeps moving (no keep point, no sustain hold).
TRixEnvelope Moving(int32_t low, int32_t high, int32_t speed, int32_t resetMode)
{
    return {low, high, speed, resetMode, 16384, 0, 0, false, false};
}

TRixOscillator Oscillator(int32_t type, int32_t volume, int32_t pitch, const TRixEnvelope& volumeEnvelope,
                          bool transition = false)
{
    return {type, volume, pitch, volumeEnvelope, TRixEnvelope::Default(), transition};
}

// Six order positions at 240 BPM; channel c plays pattern 1 everywhere,
// with notes on rows 0, 4, 8 and 12 and a stop note on row 14.
void Arrange(rix::CRixModuleData& data, int channels)
{
    data.bpm = 240;
    data.masterVolume = 60;
    for (int c = 0; c < channels; ++c) {
        for (int p = 0; p < 6; ++p)
            data.orderTable[c][p] = 1;
        for (uint32_t r = 0; r < 4; ++r)
            data.patterns[c][1][4 * r] = 30 + 7 * static_cast<uint32_t>(c) + 5 * r;
        data.patterns[c][1][14] = rix::RIX_NOTE_STOP;
    }
}

// Frequency modulation and every envelope reset mode; channels 0 to 3 hold
// their notes through stop notes (sustain), the others are gated off.
void FmAndResetModes(rix::CRixModuleData& data)
{
    Arrange(data, 8);
    for (int c = 0; c < 8; ++c) {
        rix::CRixModuleChannel& channel = data.channels[c];
        const int32_t mode = c % 5;
        channel.envelope = {0, 256, 90, rix::RIXRESET_NOTE, 16384, 32768, 8192, true, c < 4};
        channel.oscillators = {Oscillator(c % 3, 90, 100 * c - 300, Moving(64, 256, 120 + 30 * c, mode), c % 2 == 0),
                               Oscillator(rix::RIXOSC_SINE, 50, 1200, Moving(0, 256, 70, (mode + 2) % 5))};
        channel.transitionOscillators = {Oscillator(rix::RIXOSC_SINE, 40 + 10 * c, 700, Moving(0, 256, 200, mode)),
                                         Oscillator(rix::RIXOSC_SAW, 30, 0, TRixEnvelope::Default())};
        channel.oscillators[0].transitionEnvelope = Moving(224, 288, 150, (mode + 1) % 5);
    }
}

TRixEffect Effect(int32_t type, int32_t param1, int32_t param2, const TRixEnvelope& envelope1 = {},
                  const TRixEnvelope& envelope2 = {})
{
    return {type, envelope1, envelope2, param1, param2};
}

// One effect kind per channel, then a chain of all of them on channel 7.
void EveryEffect(rix::CRixModuleData& data)
{
    Arrange(data, 8);
    const TRixEffect effects[] = {
        Effect(rix::RIXEFFECT_DELAY, 75, 150),
        Effect(rix::RIXEFFECT_FLANGE, 0, 0, Moving(10, 180, 300, rix::RIXRESET_PATTERN)),
        Effect(rix::RIXEFFECT_LOWPASS, 200, 0, Moving(40, 256, 250, rix::RIXRESET_NOTE)),
        Effect(rix::RIXEFFECT_HIGHPASS, 150, 0, Moving(0, 256, 90, rix::RIXRESET_SONG)),
        Effect(rix::RIXEFFECT_RESONANCE, 180, 220, Moving(64, 256, 170, rix::RIXRESET_NOTE),
               Moving(128, 256, 60, rix::RIXRESET_FOUR_PATTERNS)),
        Effect(rix::RIXEFFECT_OVERDRIVE, 40, 200, Moving(128, 256, 260, rix::RIXRESET_TWO_PATTERNS)),
        Effect(rix::RIXEFFECT_BANDPASS, 100, 50),
    };
    for (int c = 0; c < 8; ++c) {
        rix::CRixModuleChannel& channel = data.channels[c];
        channel.oscillators[0] = Oscillator(c % 2 == 0 ? rix::RIXOSC_SAW : rix::RIXOSC_SQUARE, 120, 0, {});
        if (c < 7)
            channel.effects = {effects[c]};
        else
            channel.effects.assign(std::begin(effects), std::end(effects));
    }
}

// Noise carriers, a noise transition oscillator modulating a sine, and a
// note after a stop note that restarts only the note-reset envelopes.
void NoiseAndStops(rix::CRixModuleData& data)
{
    Arrange(data, 4);
    for (int c = 0; c < 4; ++c) {
        rix::CRixModuleChannel& channel = data.channels[c];
        channel.envelope = {0, 256, 200, c % 2 == 0 ? rix::RIXRESET_NOTE : rix::RIXRESET_PATTERN,
                            16384, 32768, 4096, true, c == 3};
        channel.oscillators = {Oscillator(rix::RIXOSC_NOISE, 60, 0, Moving(0, 256, 400, rix::RIXRESET_NOTE)),
                               Oscillator(rix::RIXOSC_SINE, 100, -1200, {}, true)};
        channel.transitionOscillators = {Oscillator(rix::RIXOSC_SINE, 0, 0, {}),
                                         Oscillator(rix::RIXOSC_NOISE, 30 * (c + 1), 0, {})};
        data.patterns[c][1][15] = 40 + static_cast<uint32_t>(c);
    }
    data.channels[2].effects = {Effect(rix::RIXEFFECT_DELAY, 50, 180)};
}

uint64_t RenderHash(const std::function<void(rix::CRixModuleData&)>& song, uint64_t& samples)
{
    nexilon::CPtr<rix::IRixModule> module = enginetest::NewModule();
    enginetest::Edit(*module, song);
    nexilon::CPtr<rix::IRixModulePlayer> player = enginetest::NewPlayer();
    player->Connect(module.Get());
    // FNV-1a over the little-endian bytes of the WAV data.
    uint64_t hash = 14695981039346656037u;
    samples = 0;
    for (std::vector<int16_t> block; !(block = enginetest::ReadSamples(*player, 4096)).empty();) {
        for (const int16_t sample : block)
            for (const int shift : {0, 8})
                hash = (hash ^ ((static_cast<uint16_t>(sample) >> shift) & 0xFF)) * 1099511628211u;
        samples += block.size();
    }
    return hash;
}

TEST(GoldenRender, SmallSongsSoundAsRecorded)
{
    const std::tuple<const char*, std::function<void(rix::CRixModuleData&)>, uint64_t> songs[] = {
        {"FM and reset modes", FmAndResetModes, 7216099616360516173u},
        {"every effect", EveryEffect, 7069391234552703202u},
        {"noise and stop notes", NoiseAndStops, 9150435089208539430u},
    };
    for (const auto& [name, song, expected] : songs) {
        uint64_t samples = 0;
        EXPECT_EQ(RenderHash(song, samples), expected) << name;
        EXPECT_EQ(samples, 6u * 16 * 2756) << name;
    }
}

} // namespace
