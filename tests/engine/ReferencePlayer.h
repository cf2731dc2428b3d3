#pragma once

#include <cstdint>
#include <vector>

#include "RixModuleData.h"

// A deliberately plain, sample-by-sample model of the synthesizer, written
// from the algorithm descriptions independently of the engine (64-bit
// intermediates wrapped back to 32 bits, literal modulo indexes, envelope
// lists rebuilt on every use). The tests render songs with both and compare
// every sample.
namespace reference {

struct Envelope {
    rix::TRixEnvelope p;
    int32_t counter = 0, value = 256;
    bool released = true;
};

struct Oscillator {
    int32_t type = 0, volume = 100, pitch = 0, increment = 0, fmOffset = 0;
    uint32_t phase = 0;
    Envelope volumeEnvelope, transitionEnvelope;
    bool transition = false;
};

struct Effect {
    rix::TRixEffect record;
    std::vector<int32_t> in, out;
    uint32_t length = 0, position = 0, rowLength = 0, delay = 0;
    int32_t limit = 0, low = 0, band = 0;
    Envelope e1, e2;
};

// The last 65536 outputs of a channel or of the mix.
struct Ring {
    std::vector<int32_t> values = std::vector<int32_t>(65536, 0);
    uint32_t index = 0;
};

struct Voice {
    Ring ring;
    int32_t volume = 100;
    std::vector<Oscillator> carriers, modulators;
    Envelope envelope;
    std::vector<Effect> effects;
    bool gate = false, enabled = true;
};

class Player {
public:
    // Connects to a song that the test keeps alive and edits between calls
    // (telling the player with Changed()).
    void Connect(const rix::CRixModuleData* song);
    void Changed() { dirty = true; }
    std::vector<int16_t> Read(uint32_t samples);
    void Seek(uint64_t bytePosition) { Sync(); SeekCore(bytePosition); }
    void SetLoop(bool on) { loop = on; }
    void SetEnabled(int channel, bool on) { voices[channel].enabled = on; }
    // The ring of `channel`, or of the mix for -1.
    const Ring& History(int channel) const { return channel < 0 ? mix : voices[channel].ring; }

private:
    void Sync();
    void SeekCore(uint64_t bytePosition);
    int32_t Noise();
    std::vector<Envelope*> Collect(Voice& voice);
    int32_t Output(Oscillator& o);
    int32_t Render(Voice& voice);
    void Advance(Voice& voice);
    void NoteOn(Voice& voice, uint32_t note);
    int32_t Mix();
    void Tick();

    const rix::CRixModuleData* song = nullptr;
    Voice voices[8];
    Ring mix;
    uint32_t samplePosition = 0, sampleInRow = 0, envelopeTick = 0, row = 0, orderPosition = 0;
    uint32_t rowLength = 0, songLength = 0, random = 1;
    int32_t masterVolume = 0;
    bool dirty = false, newRow = false, ended = false, loop = false;
};

} // namespace reference
