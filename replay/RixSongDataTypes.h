#ifndef RIXSONGDATATYPES_H
#define RIXSONGDATATYPES_H

// The record types of the tables that sonrix3 exports as RixSongData.cpp,
// for the intro replay routine. The exported file includes this header and
// then defines NULL itself, so nothing here may pull in a standard header.
//
// Every numeric field is an int: the export writes any 32-bit value the
// song holds, and a narrower field would turn an unusual value into a
// compile error in the brace initialisers. A replay routine that wants
// smaller tables can narrow the fields once its songs are known to fit.
//
// The exact form (RIXSONG_EXACT in the defines) uses some fields
// differently; RixReplay.h says how.
//
// Units as in the editor: volumes and envelope values on a /256 scale
// (256 = 1.0), envelope speed in 1/65536 of a cycle per step of 44 samples.

enum TRixSongOscType {
    RIXSONGOSCTYPE_SINE = 0,
    RIXSONGOSCTYPE_SAW = 1,
    RIXSONGOSCTYPE_SQUARE = 2,
    RIXSONGOSCTYPE_NOISE = 3,
};

enum TRixSongEffectType {
    RIXSONGEFFECTTYPE_DELAY = 0,
    RIXSONGEFFECTTYPE_FLANGE = 1,
    RIXSONGEFFECTTYPE_LOWPASS = 2,
    RIXSONGEFFECTTYPE_HIGHPASS = 3,
    RIXSONGEFFECTTYPE_RESONANCE = 4,
    RIXSONGEFFECTTYPE_OVERDRIVE = 5,
};

// One distinct envelope shape (RixSongEnvList). Phase, keep and sustain are
// in 32nds of a cycle (2048 phase units); keep and sustain are 255 when the
// envelope has no such limit.
struct TRixSongEnvelope {
    int minValue;
    int maxValue;
    int speed;
    int phase;
    int keep;
    int sustain;
    // Restarted by every note of its channel.
    bool resetOnNote;
    // Restarted by the song at order positions whose bits under the mask are
    // all 0 (0 every pattern, 1 every second, 3 every fourth); 255 never.
    int patternResetMask;
};

// The running state of one envelope (RixSongEnvCounterList). Constant
// envelopes share one counter per value and have shape and channel -1.
struct TRixSongEnvelopeCounter {
    int shape;   // index into RixSongEnvList, -1 for a constant
    int channel; // 0..7, whose notes restart it; -1 for a constant
    int value;   // the value at the start of the envelope's cycle
};

// One oscillator (RixSongOscillatorList). A transition oscillator follows
// the oscillators of its channel and names the one it modulates as source.
struct TRixSongOscillator {
    int octave;       // 8 = the played note's octave
    int fine;         // 0..255: frequency factor (256 + fine) / 256 within the octave
    int type;         // a TRixSongOscType; other values stay silent
    int channel;      // 0..7
    int source;       // -1, or the list position of the modulated oscillator
    int volume;       // /256
    int volumeCounter;     // index into RixSongEnvCounterList
    int transitionCounter; // index into RixSongEnvCounterList, frequency factor /256
};

// One effect of a played channel's chain (RixSongEffectList), in chain order.
//   Delay:     param1 = echo gain /256, length = delay in samples
//   Flange:    length = largest delay the envelope reaches + 1,
//              counter1 = the delay envelope (in samples)
//   Low-pass, High-pass: param1 = filter coefficient, counter1 scales it
//   Resonance: param1 = cutoff, param2 = amount, counter1 and counter2 scale them
//   Overdrive: param1 = clip level, param2 = 32767 × output gain / clip level
//              (the stretch to full scale folded into the gain), counter2 scales it
// Fields a type does not use are 0; length is 1 for types without a delay.
struct TRixSongEffect {
    int param1;
    int param2;
    int length;
    int channel; // 0..7
    int type;    // a TRixSongEffectType
    int counter1;
    int counter2;
};

#endif
