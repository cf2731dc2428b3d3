#ifndef RIXREPLAY_H
#define RIXREPLAY_H

// The intro replay routine for the tables that sonrix3 exports as
// RixSongData.cpp. It renders the song as 16-bit mono samples at 44100 Hz
// with the editor's integer synthesis. When the song ends it starts again
// the way the editor's player does when sent back to the start: envelopes
// from their start phase, echoes and filters emptied, oscillators running on.
//
// Two forms of the tables play here. The plain export carries pitches as an
// octave and a fine tune of 1/256 (up to about 8 cents off), envelope points
// on a grid of 2048 phase units and notes 2..192; songs within that play
// exactly as in the editor, and sonrix3-cli verify-export measures the rest.
// The exact export (export-cpp --exact) equals the editor sample for sample
// on every song. A song within the plain form's reach exports the same text
// either way; any other adds to the defines block
//   RIXSONG_EXACT          oscillators carry their pitch in cents in the
//                          octave field (fine 0) and pattern bytes the note
//                          itself, and each note's step is computed as the
//                          editor does; envelope phase, keep and sustain are
//                          in phase units, keep and sustain 0x7FFFFFFF where
//                          there is none, and maxValue holds maximum - minimum;
//                          an effect's length is its echo history's (0 for
//                          none), placed in the pool at param2
//                          (RIXSONG_HISTORYSIZE ints in all);
//                          overdrive rows hold the output gain in param1 with
//                          its envelope in counter1, and the limit in param2
//   RIXSONG_WIDE_CHANNELS  (only where a value needs it) the channel volume
//                          and envelope counter tables are int
// and the tables that the song's features need beyond the plain form.
//
// Freestanding: no standard library, no heap. Floating point only where a
// note starts (its step, as the editor rounds it). All state is static, so
// there is one song per program, rendered from one thread.
//
// To use it in an intro: move the defines block at the top of the exported
// RixSongData.cpp into RixSongDataDefines.h, compile RixReplay.cpp and
// RixSongData.cpp with the production, call RixReplayInit once and
// RixReplayRender from the audio callback. Effects whose RIXSONG_ENABLE_*
// line is commented out are not compiled. Delay and flange echoes live in
// a static pool of RIXREPLAY_HISTORY_SIZE ints (default 1048576, 4 MiB of
// zero-initialised data); define it smaller or larger for the song.
//
// Compile 32-bit x86 code with SSE2 floating point (-msse2 -mfpmath=sse):
// the x87 unit's extended precision changes the note steps.

#include "RixSongDataTypes.h"

#ifdef RIXREPLAY_EXTERNAL_SONG

// The tables handed over in memory instead of the exported globals (the
// editor's command-line tool builds them from the song it verifies). They
// must stay in place while the routine renders. `exact` is the
// RIXSONG_EXACT define of an export.
struct TRixReplaySong {
    int length;    // order positions
    int rowLength; // samples per row
    int volume;    // master volume, /256
    const unsigned int* orderTable;
    const unsigned char* patternData;
    const unsigned char* patternLookup;
    const TRixSongEnvelope* envelopes;
    const TRixSongEnvelopeCounter* counters;
    int counterCount;
    const TRixSongOscillator* oscillators;
    int oscillatorCount;
    const TRixSongEffect* effects;
    int effectCount;
    const int* channelVolume;
    const int* channelEnvelopeCounter;
    const bool* channelStopNote;
    bool exact;
};

// False when the song has more oscillators, counters, effects or echo
// history than the routine's static storage holds.
bool RixReplayInit(const TRixReplaySong& song);

// When set, every rendered sample also writes the eight channels' outputs
// (after their effects, before the master volume) to the destination,
// which advances by 8 ints per sample. Null stops it.
void RixReplaySetChannelTap(int* destination);

// The phase step per sample (65536 per cycle) that a note gets on an
// oscillator row: from octave and fine tune (notes 1..192), or with `exact`
// from the pitch in cents in the octave field (any note).
int RixReplayIncrement(int note, int octave, int fine, bool exact);

#else

// False when the delay and flange histories do not fit RIXREPLAY_HISTORY_SIZE.
bool RixReplayInit();

#endif

// Renders the next `count` samples into `out`.
void RixReplayRender(short* out, unsigned int count);

#ifdef RIXREPLAY_ENABLE_SYNC

// Where the song is, for visuals that follow the music. Cheap: a copy of a
// few counters, meant to be taken once per video frame. Positions describe
// the next sample to render (what the last rendered one was followed by).
struct TRixReplaySync {
    int orderPosition;    // 0 .. song length - 1
    int row;              // 0..15
    int sampleInRow;      // 0 .. samples per row - 1
    unsigned int samples; // samples rendered since RixReplayInit
    // Per channel: the last note started (1..254; 0 before the first), the
    // samples rendered since its first sample, and the peak magnitude of
    // the channel's output (after effects, before the master volume) since
    // the previous RixReplayGetSync.
    int note[8];
    unsigned int sinceNote[8];
    int level[8];
};

void RixReplayGetSync(TRixReplaySync* sync);

#endif

#endif
