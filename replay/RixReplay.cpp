// The intro replay routine: the editor's per-sample synthesis, fed from the
// exported tables. Every sum and product wraps at 32 bits like the editor's,
// so it is done on unsigned values; right shifts of negative values are
// arithmetic ("floor shifts") and divisions by 256 truncate toward zero,
// each exactly where the editor uses one or the other.
//
// Envelope values change only every 44 samples and where notes or order
// positions restart them, so everything derived from them (oscillator
// amplitudes and steps, filter coefficients, gains) is worked out then,
// by Refresh, and the per-sample loop reads the results.

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
#define EXACT (song->exact)

// Room for any song the editor's tool verifies; the pool is untouched
// (and so costs no memory) beyond the part a song uses. One int per entry
// of the editor's histories, so the editor's history budget fits.
#define MAX_COUNTERS 16384
#define MAX_OSCILLATORS 8192
#define MAX_EFFECTS 4096
#ifndef RIXREPLAY_HISTORY_SIZE
#define RIXREPLAY_HISTORY_SIZE 16777216
#endif

static int* channelTap;

#else

#include "RixSongDataDefines.h"

#ifdef RIXSONG_WIDE_CHANNELS
typedef int TChannelEntry;
#else
typedef unsigned char TChannelEntry;
#endif

extern unsigned int RixSongOrderTable[];
extern unsigned char RixSongPatternData[];
extern unsigned char RixSongPatternLookupTable[];
extern TRixSongEnvelope RixSongEnvList[];
extern TRixSongEnvelopeCounter RixSongEnvCounterList[];
extern TRixSongOscillator RixSongOscillatorList[];
extern TRixSongEffect RixSongEffectList[];
extern TChannelEntry RixSongChannelVol[8];
extern TChannelEntry RixSongChannelEnvCounter[8];
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
#ifdef RIXSONG_EXACT
#define EXACT 1
#else
#define EXACT 0
#endif

// One spare entry each: oscillators of unplayed channels name counter 0
// even when the song has no counter at all.
#define MAX_COUNTERS (RIXSONG_ENVCOUNTERLISTSIZE + 1)
#define MAX_OSCILLATORS (RIXSONG_OSCLISTSIZE + 1)
#define MAX_EFFECTS (RIXSONG_EFFECTLISTSIZE + 1)
// The exact tables say how much echo history the song needs; then the
// pool is just that large and always suffices.
#if defined(RIXSONG_HISTORYSIZE) && !defined(RIXREPLAY_HISTORY_SIZE)
#define RIXREPLAY_HISTORY_SIZE (RIXSONG_HISTORYSIZE + 1)
#define RIXREPLAY_HISTORY_FITS
#endif
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
const int kEnvelopeTick = 44;    // samples per envelope step
const int kNoLimit = 255;        // keep or sustain field of a grid envelope without one
const int kNever = 0x7FFFFFFF;   // a keep or sustain point the counter never passes

// A running envelope (one counter of the tables). Constants never move.
struct TCounter {
    int counter; // phase offset since the last restart, 65536 per cycle
    int value;   // /256
    const TRixSongEnvelope* shape; // null for a constant
    signed char channel;
    bool held; // a note holds it at its sustain point (no stop note since)
#ifndef RIXSONG_EXACT
    int phase, keep, sustain; // phase units
#endif
};

// An envelope's phase, keep or sustain point in phase units: the exact
// tables hold them so, the plain ones on a grid that Start converts.
#ifdef RIXSONG_EXACT
#define POINT(e, point) ((e).shape->point)
#else
#define POINT(e, point) ((e).point)
#endif

struct TOscillator {
    u32 phase;     // 65536 per cycle; only the low 16 bits count
    int increment; // 0 until the channel's first note: silent
    int amplitude; // volume × volume envelope, /256
    int step;      // increment × transition envelope, /256
};

struct TEffect {
    const TRixSongEffect* row;
    int* history; // delay outputs or flange inputs
    u32 historyLength;
    u32 position;
    int memoryA, memoryB; // previous input and output; resonance low and band
    int coefficient;      // filter coefficient, cutoff, flange delay or overdrive gain
    int damping;          // resonance
#ifndef RIXSONG_EXACT
    int volume;           // plain overdrive output gain, /256
#endif
};

TCounter counters[MAX_COUNTERS];
TOscillator oscillators[MAX_OSCILLATORS];
TEffect effects[MAX_EFFECTS];
#ifdef RIXREPLAY_HISTORY
int history[RIXREPLAY_HISTORY_SIZE];
#ifndef RIXSONG_EXACT
u32 historyUsed;
#endif
#endif
// Per channel c, its rows of the oscillator list: carriers from first[c]
// to modulators[c], then its transition oscillators up to first[c + 1].
int first[9], modulators[8];
bool gate[8];
u32 noise = 1;
int orderPosition, row, sampleInRow, envelopeTick;
bool newRow;
#ifdef RIXREPLAY_ENABLE_SYNC
TRixReplaySync sync;
#endif

int Mul(int a, int b)
{
    return (int)((u32)a * (u32)b);
}

int Add(int a, int b)
{
    return (int)((u32)a + (u32)b);
}

int ScaleFloor(int a, int b)
{
    return Mul(a, b) >> 8;
}

int SineApprox(int v)
{
    const int x = (v & 255) - 128;
    return (((x < 0 ? -x : x) * x) >> 5) - 4 * x;
}

int EnvelopeValue(const TCounter& e, int counter)
{
    if (counter > POINT(e, keep))
        counter = POINT(e, keep);
    const int s = SineApprox(Add(POINT(e, phase), counter) >> 8);
    const int minValue = e.shape->minValue;
    // The exact tables hold the span, maximum - minimum, in maxValue.
    const int span = EXACT ? e.shape->maxValue : (int)((u32)e.shape->maxValue - (u32)minValue);
    return Add(minValue, Mul(s + 128, span) / 256);
}

// Moves an envelope to a counter (0 restarts it).
void SetCounter(TCounter& e, int counter)
{
    e.counter = counter;
    e.value = EnvelopeValue(e, counter);
}

// Everything the per-sample loop takes from envelope values, after they
// moved.
void Refresh()
{
    for (int i = 0; i < SONG_OSCCOUNT; ++i) {
        TOscillator& o = oscillators[i];
        const TRixSongOscillator& r = SONG_OSCILLATORS[i];
        o.amplitude = ScaleFloor(counters[r.volumeCounter].value, r.volume);
        o.step = ScaleFloor(counters[r.transitionCounter].value, o.increment);
    }
    for (int i = 0; i < SONG_EFFECTCOUNT; ++i) {
        TEffect& e = effects[i];
        const TRixSongEffect& r = *e.row;
        const int value1 = counters[r.counter1].value;
        e.coefficient = ScaleFloor(r.param1, value1);
#ifdef RIXSONG_ENABLE_FLANGEEFFECT
        if (r.type == RIXSONGEFFECTTYPE_FLANGE)
            e.coefficient = value1;
#endif
#ifdef RIXSONG_ENABLE_RESONANCEEFFECT
        const int q = ScaleFloor(r.param2, counters[r.counter2].value);
        e.damping = (int)(255u - (u32)(Mul((int)(255u - (u32)q), e.coefficient) / 256));
#endif
#ifdef RIXSONG_ENABLE_OVERDRIVEEFFECT
#ifndef RIXSONG_EXACT
        if (r.type == RIXSONGEFFECTTYPE_OVERDRIVE && !EXACT)
            e.coefficient = ScaleFloor(e.volume, counters[r.counter2].value);
#endif
#endif
    }
}

// 2^t for the note steps, as a series: t is a float, so the fraction below
// is exact and the sum is within a few units of the double's last place,
// which rounds to the same float as the editor's power. Far beyond the
// float's range the scale becomes infinite or 0 as the power does.
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

// The editor's step for a note at a pitch in cents, before truncation:
// the cent factor 0.01 rounded to single precision, the exponent, power
// and frequency each rounded to single precision.
double NoteStep(int cents, int note)
{
    const float exponent = (float)((cents * (double)0.01f + note - 58.0) / 12.0);
    const float ratio = (float)Power2((double)exponent);
    const float frequency = (float)((double)ratio * 440.0);
    // One correctly rounded quotient, as / 44100 × 65536 is: the divisor
    // 44100 / 65536 is exact.
    return (double)frequency / (44100.0 / 65536.0);
}

int Increment(int note, const TRixSongOscillator& o, bool exact)
{
    if (exact) {
        // Truncated as the editor does, INT_MIN where it does not fit (a
        // step is never negative).
        const double step = NoteStep(o.octave, note);
        return step < 2147483648.0 ? (int)step : (int)0x80000000u;
    }
    // The pitch-0 step in 1/256 units, times (256 + fine) / 256, times
    // 2^(octave - 8), truncated once at the end; with octave 8 and fine 0
    // this is the editor's step exactly.
    const unsigned long long scaled =
        (unsigned long long)(u32)(NoteStep(0, note) * 256.0) * (u32)(256 + o.fine);
    int shift = 16 - (o.octave - 8);
    if (shift < 0)
        shift = 0;
    if (shift > 63)
        shift = 63;
    return (int)(u32)(scaled >> shift);
}

inline int Output(int i)
{
    const TOscillator& o = oscillators[i];
    if (o.increment == 0)
        return 0;
    const u32 phase = o.phase & 0xFFFF;
    int wave;
    switch (SONG_OSCILLATORS[i].type) {
    case RIXSONGOSCTYPE_SINE:
        wave = SineApprox((int)(phase >> 8)) * 256;
        break;
    case RIXSONGOSCTYPE_SAW:
        wave = (int)phase - 32768;
        break;
    case RIXSONGOSCTYPE_SQUARE:
        // -32768 below half the cycle, 32767 from there.
        wave = 32767 ^ (((int)phase - 32768) >> 31);
        break;
    case RIXSONGOSCTYPE_NOISE:
        noise = noise * 214013u + 2531011u;
        wave = (int)(((noise >> 16) & 255) - 128) * 256;
        break;
    default:
        return 0;
    }
    return ScaleFloor(o.amplitude, wave);
}

void TriggerRow()
{
    u32 patterns = SONG_ORDER[orderPosition];
    for (int c = 0; c < 8; ++c, patterns >>= 4) {
        const u32 pattern = patterns & 15;
        if (pattern == 0)
            continue;
        const int cell = SONG_PATTERNS[(SONG_LOOKUP[c] + pattern - 1) * kRows + row];
        if (cell == 0)
            continue;
        const bool stop = cell == 255;
        if (stop) {
            if (SONG_STOPNOTE[c])
                gate[c] = false;
        } else {
            gate[c] = true;
            const int note = EXACT ? cell : (cell >> 4) * 12 + (cell & 15) + 1;
#ifdef RIXREPLAY_ENABLE_SYNC
            sync.note[c] = note;
            sync.sinceNote[c] = 0;
#endif
            for (int i = first[c]; i < first[c + 1]; ++i) {
                TOscillator& o = oscillators[i];
                o.phase = 0;
                o.increment = Increment(note, SONG_OSCILLATORS[i], EXACT);
            }
        }
        for (int i = 0; i < SONG_COUNTERCOUNT; ++i) {
            TCounter& e = counters[i];
            if (!e.shape || e.channel != c)
                continue;
            if (stop) {
                e.held = false;
            } else if (e.shape->resetOnNote) {
                e.held = true;
                SetCounter(e, 0);
            }
        }
    }
    Refresh();
}

int ProcessEffect(TEffect& e, int x)
{
    [[maybe_unused]] const TRixSongEffect& r = *e.row;
    int y = x;
    switch (r.type) {
#ifdef RIXSONG_ENABLE_DELAYEFFECT
    case RIXSONGEFFECTTYPE_DELAY: {
        // The output `length` samples ago (two places on in a history of
        // length + 2), scaled again at every repeat.
        u32 from = e.position + 2;
        if (from >= e.historyLength)
            from -= e.historyLength;
        y = Add(x, ScaleFloor(e.history[from], r.param1));
        e.history[e.position] = y;
        if (++e.position == e.historyLength)
            e.position = 0;
        break;
    }
#endif
#ifdef RIXSONG_ENABLE_FLANGEEFFECT
    case RIXSONGEFFECTTYPE_FLANGE:
        if (e.historyLength != 0) {
            // Any delay value reads where the unsigned modulo lands.
            const u32 from = (e.position - (u32)e.coefficient + e.historyLength) % e.historyLength;
            y = Add(x, e.history[from]);
            e.history[e.position] = x;
            if (++e.position == e.historyLength)
                e.position = 0;
        }
        break;
#endif
#ifdef RIXSONG_ENABLE_LOWPASSEFFECT
    case RIXSONGEFFECTTYPE_LOWPASS:
        y = Add(Mul((int)(255u - (u32)e.coefficient), e.memoryB) / 256, Mul(e.coefficient, x) / 256);
        e.memoryB = y;
        break;
#endif
#ifdef RIXSONG_ENABLE_HIGHPASSEFFECT
    case RIXSONGEFFECTTYPE_HIGHPASS: {
        const int a = e.coefficient;
        const int pass = (int)(511u - (u32)a) / 2;
        y = Add(Mul((int)((u32)x - (u32)e.memoryA), pass), Mul((int)(255u - (u32)a), e.memoryB)) >> 8;
        e.memoryA = x;
        e.memoryB = y;
        break;
    }
#endif
#ifdef RIXSONG_ENABLE_RESONANCEEFFECT
    case RIXSONGEFFECTTYPE_RESONANCE: {
        const int f = e.coefficient;
        e.memoryA = Add(Mul((int)((u32)x - (u32)e.memoryB), f), Mul(e.memoryA, e.damping)) / 256;
        e.memoryB = Add(Mul(e.memoryB, e.damping), Mul(e.memoryA, f)) / 256;
        y = e.memoryB;
        break;
    }
#endif
#ifdef RIXSONG_ENABLE_OVERDRIVEEFFECT
    case RIXSONGEFFECTTYPE_OVERDRIVE: {
        // Clip, stretch the clipped signal to full scale, apply the gain.
        // The exact tables hold the limit in param2, never 0.
        const int limit = EXACT ? r.param2 : (r.param1 == 0 ? 1 : r.param1);
        const int lowest = (int)(0u - (u32)limit);
        const int clipped = x > limit ? limit : (x < lowest ? lowest : x);
        y = ScaleFloor(e.coefficient, Mul(clipped, 32767) / limit);
        break;
    }
#endif
    default:
        break;
    }
    return y;
}

// Moves every phase one sample on: a channel's transition oscillators
// first (their output before the move modulates their carrier's next
// step), channel by channel, which is also the order of their noise draws
// in the editor.
void Advance()
{
    for (int c = 0; c < 8; ++c) {
        // A transition oscillator's output >> 3 moves its carrier on too.
        for (int i = modulators[c]; i < first[c + 1]; ++i) {
            TOscillator& m = oscillators[i];
            oscillators[SONG_OSCILLATORS[i].source].phase += (u32)(Output(i) >> 3);
            m.phase += (u32)m.step;
        }
        for (int i = first[c]; i < modulators[c]; ++i)
            oscillators[i].phase += (u32)oscillators[i].step;
    }
}

bool Start();

void Tick()
{
#ifdef RIXREPLAY_ENABLE_SYNC
    ++sync.samples;
    for (int c = 0; c < 8; ++c)
        ++sync.sinceNote[c];
#endif
    ++sampleInRow;
    if (++envelopeTick >= kEnvelopeTick) {
        envelopeTick = 0;
        for (int i = 0; i < SONG_COUNTERCOUNT; ++i) {
            TCounter& e = counters[i];
            if (!e.shape)
                continue;
            int counter = Add(e.counter, e.shape->speed);
            if (e.held && counter > POINT(e, sustain))
                counter = POINT(e, sustain);
            SetCounter(e, counter > POINT(e, keep) ? POINT(e, keep) : counter);
        }
        Refresh();
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
                Start();
                return;
            }
            for (int i = 0; i < SONG_COUNTERCOUNT; ++i) {
                TCounter& e = counters[i];
                // 255 ("never") leaves bits set at every position 1..255.
                if (e.shape && (orderPosition & e.shape->patternResetMask) == 0)
                    SetCounter(e, 0);
            }
            Refresh();
        }
    }
    Advance();
}

#ifndef RIXSONG_EXACT
// A grid envelope's phase, keep or sustain field in phase units; 255 means
// none. The exact form holds phase units already.
int EnvelopePoint(int field, bool limit)
{
    if (EXACT)
        return field;
    return limit && field == kNoLimit ? kNever : field * 2048;
}
#endif

// Sets the song up from its tables at its start, as the editor's player is
// after a seek to 0: envelopes from their start phase, echoes and filters
// empty. Oscillators, gates, the noise generator and the envelope clock
// run on (they start at 0, 1 and 0 in the static storage). False when the
// song does not fit the storage.
bool Start()
{
    if (SONG_COUNTERCOUNT >= MAX_COUNTERS || SONG_OSCCOUNT >= MAX_OSCILLATORS || SONG_EFFECTCOUNT >= MAX_EFFECTS)
        return false;
    for (int i = 0; i < SONG_COUNTERCOUNT; ++i) {
        const TRixSongEnvelopeCounter& r = SONG_COUNTERS[i];
        TCounter& e = counters[i];
        e.value = r.value;
        if (r.shape < 0)
            continue;
        const TRixSongEnvelope& s = SONG_ENVELOPES[r.shape];
        e.shape = &s;
        e.channel = r.channel;
#ifndef RIXSONG_EXACT
        e.phase = EnvelopePoint(s.phase, false);
        e.keep = EnvelopePoint(s.keep, true);
        e.sustain = EnvelopePoint(s.sustain, true);
#endif
        SetCounter(e, 0);
    }
    // Rows come channel by channel, carriers before modulators.
    int n = 0;
    for (int c = 0; c < 8; ++c) {
        first[c] = modulators[c] = n;
        for (; n < SONG_OSCCOUNT && SONG_OSCILLATORS[n].channel == c; ++n)
            if (SONG_OSCILLATORS[n].source < 0)
                modulators[c] = n + 1;
    }
    first[8] = n;
#ifdef RIXREPLAY_HISTORY
#ifdef RIXSONG_EXACT
    // The exact tables place every history in the pool themselves.
    for (u32 i = 0; i < RIXREPLAY_HISTORY_SIZE; ++i)
        history[i] = 0;
#else
    for (u32 i = 0; i < historyUsed; ++i)
        history[i] = 0;
    historyUsed = 0;
#endif
#endif
    for (int i = 0; i < SONG_EFFECTCOUNT; ++i) {
        TEffect& e = effects[i];
        const TRixSongEffect& r = SONG_EFFECTS[i];
        e.row = &r;
        e.position = 0;
        e.memoryA = e.memoryB = 0;
#ifdef RIXREPLAY_HISTORY
        // The editor keeps length + 2 delay outputs and maximum delay + 2
        // (length + 1) flange inputs; a flange without room passes through.
#ifdef RIXSONG_EXACT
        // The exact tables give each history's length and place.
        e.historyLength = (u32)r.length;
        e.history = history + r.param2;
#else
        e.historyLength = 0;
        if (EXACT)
            e.historyLength = (u32)r.length;
        else if (r.type == RIXSONGEFFECTTYPE_DELAY)
            e.historyLength = (u32)r.length + 2;
        else if (r.type == RIXSONGEFFECTTYPE_FLANGE && r.length >= 0)
            e.historyLength = (u32)r.length + 1;
#ifndef RIXREPLAY_HISTORY_FITS
        if (e.historyLength > RIXREPLAY_HISTORY_SIZE - historyUsed)
            return false;
#endif
        e.history = history + historyUsed;
        historyUsed += e.historyLength;
#endif
#endif
#if defined(RIXSONG_ENABLE_OVERDRIVEEFFECT) && !defined(RIXSONG_EXACT)
        // The plain tables hold the gain times 32767 / limit, truncated; for
        // a limit up to 32767 the smallest gain giving that value is the gain.
        // The exact ones hold the gain in param1 (a filter's coefficient).
        if (r.type == RIXSONGEFFECTTYPE_OVERDRIVE && !EXACT) {
            const u32 limit = r.param1 == 0 ? 1u : (u32)r.param1;
            const u32 scaled = (u32)r.param2 * limit;
            e.volume = (int)(scaled / 32767u + (scaled % 32767u != 0));
        }
#endif
    }
    orderPosition = 0;
    row = 0;
    sampleInRow = 0;
    newRow = true;
    Refresh();
    return true;
}

} // namespace

#ifdef RIXREPLAY_EXTERNAL_SONG

bool RixReplayInit(const TRixReplaySong& newSong)
{
    // A fresh start for every song this process plays.
    song = &newSong;
    for (int i = 0; i < MAX_COUNTERS; ++i)
        counters[i] = TCounter();
    for (int i = 0; i < MAX_OSCILLATORS; ++i)
        oscillators[i] = TOscillator();
    for (int c = 0; c < 8; ++c) {
        gate[c] = false;
        first[c] = modulators[c] = 0;
    }
    noise = 1;
    envelopeTick = 0;
#ifdef RIXREPLAY_ENABLE_SYNC
    sync = TRixReplaySync();
#endif
    return Start();
}

void RixReplaySetChannelTap(int* destination)
{
    channelTap = destination;
}

int RixReplayIncrement(int note, int octave, int fine, bool exact)
{
    const TRixSongOscillator o = {octave, fine, 0, 0, -1, 0, 0, 0};
    return exact || (note >= 1 && note <= 192) ? Increment(note, o, exact) : 0;
}

#else

bool RixReplayInit()
{
    return Start();
}

#endif

#ifdef RIXREPLAY_ENABLE_SYNC

void RixReplayGetSync(TRixReplaySync* out)
{
    sync.orderPosition = orderPosition;
    sync.row = row;
    sync.sampleInRow = sampleInRow;
    *out = sync;
    for (int c = 0; c < 8; ++c)
        sync.level[c] = 0;
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
        int mix = 0;
        int effect = 0;
        for (int c = 0; c < 8; ++c) {
            // Behind a closed gate carriers are silent and draw no noise.
            int x = 0;
            for (int i = first[c]; gate[c] && i < modulators[c]; ++i)
                x = Add(x, Output(i));
            x = ScaleFloor(x, (int)(((u32)counters[SONG_CHANNELENV[c]].value * (u32)SONG_CHANNELVOL[c]) >> 8));
            // Effects run behind a closed gate too, so echoes ring out.
            while (effect < SONG_EFFECTCOUNT && SONG_EFFECTS[effect].channel == c) {
                x = ProcessEffect(effects[effect], x);
                ++effect;
            }
#ifdef RIXREPLAY_EXTERNAL_SONG
            if (channelTap)
                *channelTap++ = x;
#endif
#ifdef RIXREPLAY_ENABLE_SYNC
            const int level = x < 0 ? (int)(0u - (u32)x) : x;
            if (level > sync.level[c])
                sync.level[c] = level;
#endif
            mix = Add(mix, x);
        }
        mix = ScaleFloor(mix, SONG_VOL);
        out[k] = (short)(mix > 32767 ? 32767 : (mix < -32768 ? -32768 : mix));
        Tick();
    }
}
