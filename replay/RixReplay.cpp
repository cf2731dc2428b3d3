// The intro replay routine: the editor's per-sample synthesis, fed from the
// exported tables. Every sum and product wraps at 32 bits like the editor's,
// so it is done on unsigned values; right shifts of negative values are
// arithmetic ("floor shifts") and divisions by 256 truncate toward zero,
// each exactly where the editor uses one or the other.

#include "RixReplay.h"

#ifdef RIXREPLAY_EXTERNAL_SONG

#define RIXSONG_ENABLE_DELAYEFFECT
#define RIXSONG_ENABLE_FLANGEEFFECT
#define RIXSONG_ENABLE_LOWPASSEFFECT
#define RIXSONG_ENABLE_HIGHPASSEFFECT
#define RIXSONG_ENABLE_RESONANCEEFFECT
#define RIXSONG_ENABLE_OVERDRIVEEFFECT

static const TRixReplaySong* song;

#define SONG_LEN (song->length)
#define SONG_ROWLEN (song->rowLength)
#define SONG_VOL (song->volume)
#define SONG_ORDER (song->orderTable)
#define SONG_PATTERNS (song->patternData)
#define SONG_LOOKUP (song->patternLookup)
#define SONG_ENVELOPES (song->envelopes)
#define SONG_COUNTERS (song->counters)
#define SONG_COUNTERCOUNT (song->counterCount)
#define SONG_OSCILLATORS (song->oscillators)
#define SONG_OSCCOUNT (song->oscillatorCount)
#define SONG_EFFECTS (song->effects)
#define SONG_EFFECTCOUNT (song->effectCount)
#define SONG_CHANNELVOL (song->channelVolume)
#define SONG_CHANNELENV (song->channelEnvelopeCounter)
#define SONG_STOPNOTE (song->channelStopNote)

// Room for any song the editor's tool verifies; the pool is untouched
// (and so costs no memory) beyond the part a song uses.
#define MAX_COUNTERS 16384
#define MAX_OSCILLATORS 8192
#define MAX_EFFECTS 4096
#ifndef RIXREPLAY_HISTORY_SIZE
#define RIXREPLAY_HISTORY_SIZE 16777216
#endif

static int* channelTap;

#else

#include "RixSongDataDefines.h"

extern unsigned int RixSongOrderTable[];
extern unsigned char RixSongPatternData[];
extern unsigned char RixSongPatternLookupTable[];
extern TRixSongEnvelope RixSongEnvList[];
extern TRixSongEnvelopeCounter RixSongEnvCounterList[];
extern TRixSongOscillator RixSongOscillatorList[];
extern TRixSongEffect RixSongEffectList[];
extern unsigned char RixSongChannelVol[8];
extern unsigned char RixSongChannelEnvCounter[8];
extern bool RixSongChannelStopNote[8];

#define SONG_LEN RIXSONG_LEN
#define SONG_ROWLEN RIXSONG_ROWLENSAMPLES
#define SONG_VOL RIXSONG_VOL
#define SONG_ORDER RixSongOrderTable
#define SONG_PATTERNS RixSongPatternData
#define SONG_LOOKUP RixSongPatternLookupTable
#define SONG_ENVELOPES RixSongEnvList
#define SONG_COUNTERS RixSongEnvCounterList
#define SONG_COUNTERCOUNT RIXSONG_ENVCOUNTERLISTSIZE
#define SONG_OSCILLATORS RixSongOscillatorList
#define SONG_OSCCOUNT RIXSONG_OSCLISTSIZE
#define SONG_EFFECTS RixSongEffectList
#define SONG_EFFECTCOUNT RIXSONG_EFFECTLISTSIZE
#define SONG_CHANNELVOL RixSongChannelVol
#define SONG_CHANNELENV RixSongChannelEnvCounter
#define SONG_STOPNOTE RixSongChannelStopNote

// One spare entry each: oscillators of unplayed channels name counter 0
// even when the song has no counter at all.
#define MAX_COUNTERS (RIXSONG_ENVCOUNTERLISTSIZE + 1)
#define MAX_OSCILLATORS (RIXSONG_OSCLISTSIZE + 1)
#define MAX_EFFECTS (RIXSONG_EFFECTLISTSIZE + 1)
#ifndef RIXREPLAY_HISTORY_SIZE
#define RIXREPLAY_HISTORY_SIZE 1048576
#endif

#endif

#if defined(RIXSONG_ENABLE_DELAYEFFECT) || defined(RIXSONG_ENABLE_FLANGEEFFECT)
#define RIXREPLAY_HISTORY
#endif

namespace {

typedef unsigned int u32;

const int kRows = 16;
const int kEnvelopeTick = 44; // samples per envelope step
const int kNoLimit = 255;     // keep or sustain field of an envelope without one

// A running envelope (one counter of the tables). Constants never move.
struct TCounter {
    int counter; // phase offset since the last restart, 65536 per cycle
    int value;   // /256
    bool released;
    bool running;
    bool resetOnNote;
    int channel;
    int resetMask;
    int minValue, maxValue, speed, phase, keep, sustain;
    bool keepEnabled, sustainEnabled;
};

struct TOscillator {
    const TRixSongOscillator* row;
    u32 phase;      // 65536 per cycle; only the low 16 bits count
    int increment;  // 0 until the channel's first note: silent
    int fmOffset;   // the transition oscillator's output >> 3
    int modulator;  // list position of its transition oscillator, or -1
};

struct TEffect {
    const TRixSongEffect* row;
    int* history; // delay outputs or flange inputs
    u32 historyLength;
    u32 position;
    int previousIn, previousOut; // low-pass and high-pass
    int low, band;               // resonance
    int volume;                  // overdrive output gain, /256
};

TCounter counters[MAX_COUNTERS];
TOscillator oscillators[MAX_OSCILLATORS];
TEffect effects[MAX_EFFECTS];
#ifdef RIXREPLAY_HISTORY
int history[RIXREPLAY_HISTORY_SIZE];
u32 historyUsed;
#endif
int noteStep[193]; // the phase step at pitch 0 in 1/256 units, for notes 1..192
bool gate[8];
u32 noise;
int orderPosition, row, sampleInRow, envelopeTick;
bool newRow;

int ScaleFloor(int a, int b)
{
    return (int)((u32)a * (u32)b) >> 8;
}

int Add(int a, int b)
{
    return (int)((u32)a + (u32)b);
}

int SineApprox(int v)
{
    const int x = (v & 255) - 128;
    return (((x < 0 ? -x : x) * x) >> 5) - 4 * x;
}

int EnvelopeValue(const TCounter& e, int counter)
{
    if (e.keepEnabled && counter > e.keep)
        counter = e.keep;
    const int s = SineApprox(Add(e.phase, counter) >> 8);
    return Add(e.minValue, (int)((u32)(s + 128) * ((u32)e.maxValue - (u32)e.minValue)) / 256);
}

void StepEnvelope(TCounter& e)
{
    e.counter = Add(e.counter, e.speed);
    if (!e.released && e.sustainEnabled && e.counter > e.sustain)
        e.counter = e.sustain;
    if (e.keepEnabled && e.counter > e.keep)
        e.counter = e.keep;
    e.value = EnvelopeValue(e, e.counter);
}

void RestartEnvelope(TCounter& e)
{
    e.counter = 0;
    e.value = EnvelopeValue(e, 0);
}

// 2^t for the note table, as a series: t is a float, so the fraction below
// is exact and the sum is within a few units of the double's last place.
double Power2(double t)
{
    double scale = 1.0;
    while (t >= 1.0) {
        t -= 1.0;
        scale *= 2.0;
    }
    while (t < 0.0) {
        t += 1.0;
        scale *= 0.5;
    }
    const double y = t * 0.69314718055994530942;
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k < 30; ++k) {
        term *= y / k;
        sum += term;
    }
    return sum * scale;
}

int Increment(int note, const TRixSongOscillator& o)
{
    // The pitch-0 step in 1/256 units, times (256 + fine) / 256, times
    // 2^(octave - 8), truncated once at the end; with octave 8 and fine 0
    // this is the editor's step exactly.
    const unsigned long long scaled = (unsigned long long)(u32)noteStep[note] * (u32)(256 + o.fine);
    int shift = 16 - (o.octave - 8);
    if (shift < 0)
        shift = 0;
    if (shift > 63)
        shift = 63;
    return (int)(u32)(scaled >> shift);
}

int NoiseValue()
{
    noise = noise * 214013u + 2531011u;
    return (int)((noise >> 16) & 0x7FFF);
}

int OscillatorOutput(const TOscillator& o)
{
    if (o.increment == 0)
        return 0;
    const TRixSongOscillator& r = *o.row;
    const int amplitude = ScaleFloor(counters[r.volumeCounter].value, r.volume);
    const u32 phase = o.phase & 0xFFFF;
    int wave;
    switch (r.type) {
    case RIXSONGOSCTYPE_SINE:
        wave = SineApprox((int)(o.phase >> 8)) * 256;
        break;
    case RIXSONGOSCTYPE_SAW:
        wave = (int)phase - 32768;
        break;
    case RIXSONGOSCTYPE_SQUARE:
        wave = phase <= 32767 ? -32768 : 32767;
        break;
    case RIXSONGOSCTYPE_NOISE:
        wave = ((NoiseValue() & 255) - 128) * 256;
        break;
    default:
        return 0;
    }
    return ScaleFloor(amplitude, wave);
}

int PhaseStep(const TOscillator& o)
{
    return ScaleFloor(counters[o.row->transitionCounter].value, o.increment);
}

// Empties echoes and filter memories, as the editor does at every seek.
void ClearEffects()
{
#ifdef RIXREPLAY_HISTORY
    for (u32 i = 0; i < historyUsed; ++i)
        history[i] = 0;
#endif
    for (int i = 0; i < SONG_EFFECTCOUNT; ++i) {
        TEffect& e = effects[i];
        e.position = 0;
        e.previousIn = e.previousOut = e.low = e.band = 0;
    }
}

void Rewind()
{
    for (int i = 0; i < SONG_COUNTERCOUNT; ++i)
        if (counters[i].running)
            RestartEnvelope(counters[i]);
    ClearEffects();
    orderPosition = 0;
    row = 0;
    sampleInRow = 0;
    newRow = true;
}

void TriggerRow()
{
    for (int c = 0; c < 8; ++c) {
        const u32 pattern = (SONG_ORDER[orderPosition] >> (4 * c)) & 15;
        if (pattern == 0)
            continue;
        const u32 cell = SONG_PATTERNS[(SONG_LOOKUP[c] + pattern - 1) * kRows + row];
        if (cell == 0)
            continue;
        const bool stop = cell == 255;
        if (stop) {
            if (SONG_STOPNOTE[c])
                gate[c] = false;
        } else {
            gate[c] = true;
            const int note = (int)(cell >> 4) * 12 + (int)(cell & 15) + 1;
            for (int i = 0; i < SONG_OSCCOUNT; ++i) {
                TOscillator& o = oscillators[i];
                if (o.row->channel == c) {
                    o.phase = 0;
                    o.increment = Increment(note, *o.row);
                }
            }
        }
        for (int i = 0; i < SONG_COUNTERCOUNT; ++i) {
            TCounter& e = counters[i];
            if (!e.running || e.channel != c)
                continue;
            if (stop) {
                e.released = true;
            } else if (e.resetOnNote) {
                e.released = false;
                RestartEnvelope(e);
            }
        }
    }
}

int ProcessEffect(TEffect& e, int x)
{
    [[maybe_unused]] const TRixSongEffect& r = *e.row;
    int y = x;
    switch (r.type) {
#ifdef RIXSONG_ENABLE_DELAYEFFECT
    case RIXSONGEFFECTTYPE_DELAY: {
        // The output `length` samples ago, scaled again at every repeat.
        const u32 from = (e.position - (u32)r.length + e.historyLength) % e.historyLength;
        y = Add(x, ScaleFloor(e.history[from], r.param1));
        e.history[e.position] = y;
        e.position = (e.position + 1) % e.historyLength;
        break;
    }
#endif
#ifdef RIXSONG_ENABLE_FLANGEEFFECT
    case RIXSONGEFFECTTYPE_FLANGE:
        if (e.historyLength != 0) {
            const u32 delay = (u32)counters[r.counter1].value;
            const u32 from = (e.position - delay + e.historyLength) % e.historyLength;
            y = Add(x, e.history[from]);
            e.history[e.position] = x;
            e.position = (e.position + 1) % e.historyLength;
        }
        break;
#endif
#ifdef RIXSONG_ENABLE_LOWPASSEFFECT
    case RIXSONGEFFECTTYPE_LOWPASS: {
        const int a = ScaleFloor(r.param1, counters[r.counter1].value);
        y = Add((int)((u32)(255 - a) * (u32)e.previousOut) / 256, (int)((u32)a * (u32)x) / 256);
        e.previousOut = y;
        break;
    }
#endif
#ifdef RIXSONG_ENABLE_HIGHPASSEFFECT
    case RIXSONGEFFECTTYPE_HIGHPASS: {
        const int a = ScaleFloor(r.param1, counters[r.counter1].value);
        const u32 change = (u32)x - (u32)e.previousIn;
        y = (int)(change * (u32)((511 - a) / 2) + (u32)(255 - a) * (u32)e.previousOut) >> 8;
        e.previousIn = x;
        e.previousOut = y;
        break;
    }
#endif
#ifdef RIXSONG_ENABLE_RESONANCEEFFECT
    case RIXSONGEFFECTTYPE_RESONANCE: {
        const int f = ScaleFloor(r.param1, counters[r.counter1].value);
        const int q = ScaleFloor(r.param2, counters[r.counter2].value);
        const u32 damping = 255u - (u32)((int)((u32)(255 - q) * (u32)f) / 256);
        e.low = (int)(((u32)x - (u32)e.band) * (u32)f + (u32)e.low * damping) / 256;
        e.band = (int)((u32)e.band * damping + (u32)e.low * (u32)f) / 256;
        y = e.band;
        break;
    }
#endif
#ifdef RIXSONG_ENABLE_OVERDRIVEEFFECT
    case RIXSONGEFFECTTYPE_OVERDRIVE: {
        // Clip, stretch the clipped signal to full scale, apply the gain.
        const int limit = r.param1 == 0 ? 1 : r.param1;
        const int lowest = (int)(0u - (u32)limit);
        const int clipped = x > limit ? limit : (x < lowest ? lowest : x);
        const int gain = ScaleFloor(e.volume, counters[r.counter2].value);
        y = ScaleFloor(gain, (int)((u32)clipped * 32767u) / limit);
        break;
    }
#endif
    default:
        break;
    }
    return y;
}

// Moves every phase one sample on: transition oscillators first (their
// output before the move modulates their carrier's next step), in list
// order, which is also the order of their noise draws in the editor.
void Advance()
{
    for (int i = 0; i < SONG_OSCCOUNT; ++i) {
        TOscillator& m = oscillators[i];
        if (m.row->source < 0)
            continue;
        const int output = OscillatorOutput(m);
        m.phase += (u32)PhaseStep(m);
        oscillators[m.row->source].fmOffset = output >> 3;
    }
    for (int i = 0; i < SONG_OSCCOUNT; ++i) {
        TOscillator& o = oscillators[i];
        if (o.row->source >= 0)
            continue;
        o.phase += (u32)PhaseStep(o) + (u32)(o.modulator >= 0 ? o.fmOffset : 0);
    }
}

void Tick()
{
    ++sampleInRow;
    if (++envelopeTick >= kEnvelopeTick) {
        envelopeTick = 0;
        for (int i = 0; i < SONG_COUNTERCOUNT; ++i)
            if (counters[i].running)
                StepEnvelope(counters[i]);
    }
    newRow = false;
    if (sampleInRow >= SONG_ROWLEN) {
        sampleInRow = 0;
        newRow = true;
        if (++row >= kRows) {
            row = 0;
            if (++orderPosition >= (int)SONG_LEN) {
                // The editor's player stops on the last sample without
                // moving the phases; playing on is a seek to the start.
                Rewind();
                return;
            }
            for (int i = 0; i < SONG_COUNTERCOUNT; ++i) {
                TCounter& e = counters[i];
                if (e.running && e.resetMask != kNoLimit && (orderPosition & e.resetMask) == 0)
                    RestartEnvelope(e);
            }
        }
    }
    Advance();
}

bool Prepare()
{
    for (int note = 1; note <= 192; ++note) {
        // The editor's roundings: exponent and power to single precision,
        // the product with 440 too. Truncating the step × 256 and then
        // dividing by 256 truncates the step as the editor does.
        const float exponent = (float)((double)(note - 58) / 12.0);
        const float ratio = (float)Power2((double)exponent);
        const float frequency = (float)((double)ratio * 440.0);
        noteStep[note] = (int)((double)frequency / 44100.0 * 65536.0 * 256.0);
    }
    if (SONG_COUNTERCOUNT >= MAX_COUNTERS || SONG_OSCCOUNT >= MAX_OSCILLATORS || SONG_EFFECTCOUNT >= MAX_EFFECTS)
        return false;
    for (int i = 0; i < SONG_COUNTERCOUNT; ++i) {
        const TRixSongEnvelopeCounter& r = SONG_COUNTERS[i];
        TCounter& e = counters[i];
        e.counter = 0;
        e.value = r.value;
        e.released = true;
        e.running = r.shape >= 0;
        if (!e.running)
            continue;
        const TRixSongEnvelope& s = SONG_ENVELOPES[r.shape];
        e.channel = r.channel;
        e.resetOnNote = s.resetOnNote;
        e.resetMask = s.patternResetMask;
        e.minValue = s.minValue;
        e.maxValue = s.maxValue;
        e.speed = s.speed;
        e.phase = s.phase * 2048;
        e.keepEnabled = s.keep != kNoLimit;
        e.keep = s.keep * 2048;
        e.sustainEnabled = s.sustain != kNoLimit;
        e.sustain = s.sustain * 2048;
        e.value = EnvelopeValue(e, 0);
    }
    for (int i = 0; i < SONG_OSCCOUNT; ++i) {
        TOscillator& o = oscillators[i];
        o.row = &SONG_OSCILLATORS[i];
        o.phase = 0;
        o.increment = 0;
        o.fmOffset = 0;
        o.modulator = -1;
    }
    for (int i = 0; i < SONG_OSCCOUNT; ++i)
        if (oscillators[i].row->source >= 0)
            oscillators[oscillators[i].row->source].modulator = i;
#ifdef RIXREPLAY_HISTORY
    historyUsed = 0;
#endif
    for (int i = 0; i < SONG_EFFECTCOUNT; ++i) {
        TEffect& e = effects[i];
        const TRixSongEffect& r = SONG_EFFECTS[i];
        e.row = &r;
        e.historyLength = 0;
#ifdef RIXREPLAY_HISTORY
        // The editor keeps length + 2 delay outputs and maximum delay + 2
        // (length + 1) flange inputs; a flange without room passes through.
        if (r.type == RIXSONGEFFECTTYPE_DELAY)
            e.historyLength = (u32)r.length + 2;
        if (r.type == RIXSONGEFFECTTYPE_FLANGE && r.length >= 0)
            e.historyLength = (u32)r.length + 1;
        if (e.historyLength > RIXREPLAY_HISTORY_SIZE - historyUsed)
            return false;
        e.history = history + historyUsed;
        historyUsed += e.historyLength;
#endif
#ifdef RIXSONG_ENABLE_OVERDRIVEEFFECT
        // The tables hold the gain times 32767 / limit, truncated; for a
        // limit up to 32767 the smallest gain giving that value is the gain.
        if (r.type == RIXSONGEFFECTTYPE_OVERDRIVE) {
            const u32 limit = r.param1 == 0 ? 1u : (u32)r.param1;
            const u32 scaled = (u32)r.param2 * limit;
            e.volume = (int)(scaled / 32767u + (scaled % 32767u != 0));
        }
#endif
    }
    for (int c = 0; c < 8; ++c)
        gate[c] = false;
    noise = 1;
    envelopeTick = 0;
    Rewind();
    return true;
}

} // namespace

#ifdef RIXREPLAY_EXTERNAL_SONG

bool RixReplayInit(const TRixReplaySong& newSong)
{
    song = &newSong;
    return Prepare();
}

void RixReplaySetChannelTap(int* destination)
{
    channelTap = destination;
}

int RixReplayIncrement(int note, int octave, int fine)
{
    TRixSongOscillator o = {octave, fine, 0, 0, -1, 0, 0, 0};
    return note >= 1 && note <= 192 ? Increment(note, o) : 0;
}

#else

bool RixReplayInit()
{
    return Prepare();
}

#endif

void RixReplayRender(short* out, unsigned int count)
{
    for (unsigned int k = 0; k < count; ++k) {
        if (SONG_LEN == 0) {
            out[k] = 0;
            continue;
        }
        if (newRow)
            TriggerRow();
        int sums[8] = {0, 0, 0, 0, 0, 0, 0, 0};
        for (int i = 0; i < SONG_OSCCOUNT; ++i) {
            const TOscillator& o = oscillators[i];
            const int c = o.row->channel;
            if (o.row->source < 0 && gate[c])
                sums[c] = Add(sums[c], OscillatorOutput(o));
        }
        int mix = 0;
        int effect = 0;
        for (int c = 0; c < 8; ++c) {
            int x = 0;
            if (gate[c]) {
                const u32 gain = ((u32)counters[SONG_CHANNELENV[c]].value * (u32)SONG_CHANNELVOL[c]) >> 8;
                x = ScaleFloor(sums[c], (int)gain);
            }
            // Effects run behind a closed gate too, so echoes ring out.
            while (effect < SONG_EFFECTCOUNT && SONG_EFFECTS[effect].channel == c) {
                x = ProcessEffect(effects[effect], x);
                ++effect;
            }
#ifdef RIXREPLAY_EXTERNAL_SONG
            if (channelTap)
                *channelTap++ = x;
#endif
            mix = Add(mix, x);
        }
        mix = ScaleFloor(mix, SONG_VOL);
        out[k] = (short)(mix > 32767 ? 32767 : (mix < -32768 ? -32768 : mix));
        Tick();
    }
}
