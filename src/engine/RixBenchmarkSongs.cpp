#include "RixBenchmarkSongs.h"

namespace rix {

namespace {

constexpr int SONG_POSITIONS = 16;

// Pattern 1 of every channel on every position, a note on every even row;
// each channel plays its own short phrase.
void FillNotes(CRixModuleData& data)
{
    static const uint32_t phrase[8] = {37, 41, 44, 49, 46, 44, 41, 39};
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        for (int p = 0; p < SONG_POSITIONS; ++p)
            data.orderTable[c][p] = 1;
        for (int r = 0; r < RIX_ROWS; r += 2)
            data.patterns[c][1][r] = phrase[(r / 2 + c) % 8] + static_cast<uint32_t>(c % 3) * 12;
    }
}

// An envelope that keeps moving: no keep point, no sustain hold.
TRixEnvelope MovingEnvelope(int32_t minValue, int32_t maxValue, int32_t speed, int32_t resetMode)
{
    return {minValue, maxValue, speed, resetMode, 16384, 0, 0, false, false};
}

} // namespace

void MakeLightSong(CRixModuleData& data)
{
    data.Reset();
    FillNotes(data);
}

void MakeHeavySong(CRixModuleData& data)
{
    data.Reset();
    FillNotes(data);
    static const int32_t waveforms[4] = {RIXOSC_SINE, RIXOSC_SAW, RIXOSC_SQUARE, RIXOSC_SINE};
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        CRixModuleChannel& channel = data.channels[c];
        channel.oscillators.clear();
        channel.transitionOscillators.clear();
        for (int i = 0; i < 4; ++i) {
            const int32_t mode = (c + i) % 5;
            TRixOscillator carrier;
            carrier.type = waveforms[i];
            carrier.volume = 60;
            carrier.pitch = i * 700 - 1200;
            carrier.volumeEnvelope = MovingEnvelope(64, 256, 130 + 40 * i, mode);
            carrier.transitionEnvelope = MovingEnvelope(240, 272, 97 + 13 * c, (mode + 1) % 5);
            carrier.transition = true;
            TRixOscillator modulator;
            modulator.type = RIXOSC_SINE;
            modulator.volume = 40 + 10 * i;
            modulator.pitch = 1200 + 500 * i;
            modulator.volumeEnvelope = MovingEnvelope(0, 256, 65 + 30 * i, (mode + 2) % 5);
            modulator.transitionEnvelope = MovingEnvelope(192, 320, 211, (mode + 3) % 5);
            channel.oscillators.push_back(carrier);
            channel.transitionOscillators.push_back(modulator);
        }
        TRixEffect delay = TRixEffect::OfType(RIXEFFECT_DELAY);
        delay.param1 = 75;
        delay.param2 = 90;
        TRixEffect resonance = TRixEffect::OfType(RIXEFFECT_RESONANCE);
        resonance.param1 = 140;
        resonance.param2 = 180;
        resonance.envelope1 = MovingEnvelope(96, 256, 180, RIXRESET_NOTE);
        resonance.envelope2 = MovingEnvelope(160, 256, 77, RIXRESET_TWO_PATTERNS);
        TRixEffect overdrive = TRixEffect::OfType(RIXEFFECT_OVERDRIVE);
        overdrive.param1 = 120;
        overdrive.param2 = 110;
        overdrive.envelope1 = MovingEnvelope(128, 256, 260, RIXRESET_FOUR_PATTERNS);
        channel.effects = {delay, resonance, overdrive};
    }
}

} // namespace rix
