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
    int32_t counter = 0;
    int32_t value = 256;
    bool released = true;
};

struct Oscillator {
    int32_t type = 0, volume = 100, pitch = 0;
    uint32_t phase = 0;
    int32_t increment = 0;
    Envelope volumeEnvelope, transitionEnvelope;
    int32_t fmOffset = 0;
    bool transition = false;
};

struct Effect {
    rix::TRixEffect record;
    std::vector<int32_t> in, out;
    uint32_t length = 0, position = 0, rowLength = 441, delay = 0;
    int32_t coefficient = 0, limit = 0, gain = 0, cutoff = 0, amount = 0, low = 0, band = 0;
    Envelope e1, e2;
};

struct Voice {
    std::vector<int32_t> ring = std::vector<int32_t>(65536, 0);
    uint32_t ringIndex = 0;
    int32_t volume = 100;
    std::vector<Oscillator> carriers, modulators;
    Envelope envelope;
    bool gate = false;
    std::vector<Effect> effects;
    bool enabled = true;
};

class Player {
public:
    // Connects to a song that the test keeps alive and edits between calls
    // (telling the player with Changed()).
    void Connect(const rix::CRixModuleData* song);
    void Changed() { dirty = true; }
    std::vector<int16_t> Read(uint32_t samples);
    void Seek(uint64_t bytePosition);
    void SetLoop(bool on) { loop = on; }
    void SetEnabled(int channel, bool on) { voices[channel].enabled = on; }
    uint64_t Tell() const { return uint64_t(samplePosition) * 2; }
    bool Ended() const { return ended; }
    uint32_t Row() const { return row; }
    uint32_t Order() const { return orderPosition; }
    const std::vector<int32_t>& VoiceRing(int channel) const { return voices[channel].ring; }
    uint32_t VoiceRingIndex(int channel) const { return voices[channel].ringIndex; }
    const std::vector<int32_t>& MasterRing() const { return ring; }
    uint32_t MasterRingIndex() const { return ringIndex; }

private:
    void Sync();
    void SyncRest();
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
    bool dirty = false;
    Voice voices[8];
    std::vector<int32_t> ring = std::vector<int32_t>(65536, 0);
    uint32_t ringIndex = 0, samplePosition = 0, sampleInRow = 0, envelopeTick = 0, row = 0, orderPosition = 0;
    uint32_t rowLength = 0, songLength = 0, random = 1;
    int32_t masterVolume = 0;
    bool newRow = false, ended = false, loop = false;
};

} // namespace reference
