#ifndef RIXREPLAY_H
#define RIXREPLAY_H

// The intro replay routine for the tables that sonrix3 exports as
// RixSongData.cpp. It renders the song as 16-bit mono samples at 44100 Hz
// with the editor's integer synthesis. When the song ends it starts again
// the way the editor's player does when sent back to the start: envelopes
// from their start phase, echoes and filters emptied, oscillators running on.
//
// Its samples equal the editor's when the song keeps to what the tables
// carry exactly: every oscillator at pitch 0 (other pitches become an
// octave and a fine tune of 1/256 steps, up to about 8 cents off), envelope
// phases, keep and sustain points multiples of 2048 (and not 255 × 2048),
// notes 2..192, no band-pass, no noise on a transition oscillator whose
// carrier has no transition flag, overdrive limits up to 258. sonrix3-cli
// verify-export names everything else and measures its effect.
//
// Freestanding: no standard library, no heap, no floating point while
// rendering (RixReplayInit uses a few double operations to build its note
// table). All state is static, so there is one song per program, rendered
// from one thread.
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
// the x87 unit's extended precision changes the note table.

#include "RixSongDataTypes.h"

#ifdef RIXREPLAY_EXTERNAL_SONG

// The tables handed over in memory instead of the exported globals (the
// editor's command-line tool builds them from the song it verifies). They
// must stay in place while the routine renders.
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
    const unsigned char* channelVolume;
    const unsigned char* channelEnvelopeCounter;
    const bool* channelStopNote;
};

// False when the song has more oscillators, counters, effects or echo
// history than the routine's static storage holds.
bool RixReplayInit(const TRixReplaySong& song);

// When set, every rendered sample also writes the eight channels' outputs
// (after their effects, before the master volume) to the destination,
// which advances by 8 ints per sample. Null stops it.
void RixReplaySetChannelTap(int* destination);

// The phase step per sample (65536 per cycle) that a note (1..192) gets on
// an oscillator of the given octave and fine tune.
int RixReplayIncrement(int note, int octave, int fine);

#else

// False when the delay and flange histories do not fit RIXREPLAY_HISTORY_SIZE.
bool RixReplayInit();

#endif

// Renders the next `count` samples into `out`.
void RixReplayRender(short* out, unsigned int count);

#endif
