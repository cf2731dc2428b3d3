#include "ReferencePlayer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

namespace reference {

namespace {

int32_t W(int64_t v) { return int32_t(uint32_t(uint64_t(v))); }
int32_t Shr8(int64_t v) { return W(v) >> 8; }
int32_t Div256(int64_t v) { return W(v) / 256; }

int32_t Sine(int64_t v)
{
    const int x = int(((v % 256) + 256) % 256) - 128;
    return int(std::floor(double(std::abs(x) * x) / 32.0)) - 4 * x;
}

int32_t EnvValue(const Envelope& e, int32_t counter)
{
    const int32_t c = e.p.keepEnabled && counter > e.p.keep ? e.p.keep : counter;
    const int32_t s = Sine(W(int64_t(e.p.phase) + c) >> 8);
    return W(int64_t(e.p.minValue) + Div256(int64_t(s + 128) * W(int64_t(e.p.maxValue) - e.p.minValue)));
}

void Step(Envelope& e)
{
    e.counter = W(int64_t(e.counter) + e.p.speed);
    if (!e.released && e.p.sustainEnabled && e.counter > e.p.sustain)
        e.counter = e.p.sustain;
    if (e.p.keepEnabled && e.counter > e.p.keep)
        e.counter = e.p.keep;
    e.value = EnvValue(e, e.counter);
}

uint32_t RowLength(int32_t bpm)
{
    const float q = float(std::max(bpm, 1) / 60.0 * 4);
    const float p = float(1.0 / q);
    const int64_t length = int64_t(double(p) * 44100);
    return length < 1 ? 1 : uint32_t(length);
}

int32_t Increment(int32_t pitch, uint32_t note)
{
    const float t = float((pitch * double(0.01f) + double(note) - 58) / 12);
    const float r = float(std::pow(2.0, double(t)));
    const float f = float(double(r) * 440);
    const double increment = double(f) / 44100 * 65536;
    const bool fits = increment < 2147483648.0 && increment > -2147483649.0;  // false for NaN
    return fits ? int32_t(increment) : INT32_MIN;
}

void CopyOscillator(Oscillator& o, const rix::TRixOscillator& m)
{
    std::tie(o.type, o.volume, o.pitch, o.transition) = std::tie(m.type, m.volume, m.pitch, m.transition);
    std::tie(o.volumeEnvelope.p, o.transitionEnvelope.p) = std::tie(m.volumeEnvelope, m.transitionEnvelope);
}

// Empties the history and sizes it for the record and the row length.
void Prepare(Effect& e)
{
    const rix::TRixEffect& r = e.record;
    e.e1.p = r.envelope1;
    e.e2.p = r.envelope2;
    e.position = 0;
    e.low = e.band = 0;
    e.limit = W(int64_t(r.param1) * 127);
    if (e.limit == 0)
        e.limit = 1;
    // Histories hold at most 4194304 entries.
    e.delay = std::min<uint32_t>(uint32_t(e.rowLength * uint32_t(r.param1)) / 100, 4194302);
    const auto flange = uint32_t(std::clamp<int64_t>(int64_t(r.envelope1.maxValue) + 2, 0, 4194304));
    e.length = r.type == 0 ? e.delay + 2 : r.type == 1 ? flange : r.type == 2 || r.type == 3 ? 10 : 0;
    e.in.assign(e.length, 0);
    e.out.assign(e.length, 0);
}

int32_t Process(Effect& e, int32_t x)
{
    const rix::TRixEffect& r = e.record;
    const uint32_t j = e.length ? (e.position + e.length - 1) % e.length : 0;
    // The filters' coefficient and the resonance's cutoff.
    const int32_t a = Shr8(int64_t(r.param1) * e.e1.value);
    int32_t y = x;
    switch (r.type) {
    case 0:
        y = W(int64_t(x) + Shr8(int64_t(e.out[(e.position - e.delay + e.length) % e.length]) * r.param2));
        break;
    case 1:
        if (e.length)
            y = W(int64_t(x) + e.in[(e.position - uint32_t(e.e1.value) + e.length) % e.length]);
        break;
    case 2:
        y = W(int64_t(Div256(int64_t(W(255 - int64_t(a))) * e.out[j])) + Div256(int64_t(a) * x));
        break;
    case 3: {
        const int64_t first = W(int64_t(W(int64_t(x) - e.in[j])) * (W(511 - int64_t(a)) / 2));
        const int64_t second = W(int64_t(W(255 - int64_t(a))) * e.out[j]);
        y = Shr8(first + second);
        break;
    }
    case 4: {
        const int32_t q = Shr8(int64_t(r.param2) * e.e2.value);
        const int32_t d = W(255 - int64_t(Div256(int64_t(W(255 - int64_t(q))) * a)));
        e.low = Div256(int64_t(W(int64_t(W(int64_t(x) - e.band)) * a)) + W(int64_t(e.low) * d));
        e.band = Div256(int64_t(W(int64_t(e.band) * d)) + W(int64_t(e.low) * a));
        y = e.band;
        break;
    }
    case 5: {
        const int32_t negative = W(-int64_t(e.limit));
        const int32_t c = x > e.limit ? e.limit : x < negative ? negative : x;
        const int32_t scaled = W(int64_t(c) * 32767);
        const int32_t quotient = e.limit == -1 ? W(-int64_t(scaled)) : scaled / e.limit;
        y = Shr8(int64_t(Shr8(int64_t(r.param2) * e.e1.value)) * quotient);
        break;
    }
    default:
        break;
    }
    if (e.length) {
        e.in[e.position] = x;
        e.out[e.position] = y;
        e.position = (e.position + 1) % e.length;
    }
    return y;
}

} // namespace

void Player::Connect(const rix::CRixModuleData* newSong)
{
    song = newSong;
    std::fill(std::begin(voices), std::end(voices), Voice());
    mix = Ring();
    rowLength = 0;
    random = 1;
    dirty = true;
    Sync();
    SeekCore(0);
    loop = false;
}

int32_t Player::Noise()
{
    random = random * 214013u + 2531011u;
    return int32_t((random >> 16) & 0x7FFF);
}

std::vector<Envelope*> Player::Collect(Voice& v)
{
    std::vector<Envelope*> list{&v.envelope};
    for (size_t i = 0; i < v.carriers.size(); ++i)
        list.insert(list.end(), {&v.carriers[i].volumeEnvelope, &v.carriers[i].transitionEnvelope,
                                 &v.modulators[i].volumeEnvelope, &v.modulators[i].transitionEnvelope});
    for (Effect& e : v.effects)
        list.insert(list.end(), {&e.e1, &e.e2});
    if (list.size() > 256)
        list.resize(256);
    return list;
}

void Player::Sync()
{
    if (!dirty)
        return;
    dirty = false;
    const uint32_t before = rowLength;
    rowLength = RowLength(song->bpm);
    songLength = 0;
    for (int p = 255; p >= 0 && songLength == 0; --p)
        for (int c = 0; c < 8; ++c)
            if (song->orderTable[c][p] != 0)
                songLength = uint32_t(p + 1);
    masterVolume = song->masterVolume;
    for (int c = 0; c < 8; ++c) {
        Voice& v = voices[c];
        const rix::CRixModuleChannel& channel = song->channels[c];
        v.volume = channel.volume;
        const size_t n = channel.oscillators.size();
        if (n != v.carriers.size()) {
            v.carriers.assign(n, Oscillator());
            v.modulators.assign(n, Oscillator());
        }
        for (size_t i = 0; i < n; ++i) {
            CopyOscillator(v.carriers[i], channel.oscillators[i]);
            CopyOscillator(v.modulators[i], i < channel.transitionOscillators.size() ? channel.transitionOscillators[i]
                                                                                    : rix::TRixOscillator());
        }
        v.envelope.p = channel.envelope;
        if (channel.effects.size() != v.effects.size())
            v.effects.assign(channel.effects.size(), Effect());
        for (size_t i = 0; i < v.effects.size(); ++i) {
            Effect& e = v.effects[i];
            if (!(e.record == channel.effects[i]) || e.rowLength != rowLength) {
                std::tie(e.record, e.rowLength) = std::tie(channel.effects[i], rowLength);
                Prepare(e);
            }
        }
    }
    // A new tempo restarts the current row at its new length.
    if (rowLength != before)
        SeekCore(uint64_t((orderPosition * 16 + row) * rowLength) * 2);
}

void Player::SeekCore(uint64_t bytePosition)
{
    samplePosition = uint32_t(bytePosition / 2);
    row = samplePosition / rowLength % 16;
    orderPosition = samplePosition / rowLength / 16;
    ended = orderPosition >= songLength;
    if (ended) {
        orderPosition = songLength;
        samplePosition = songLength * rowLength * 16;
    }
    sampleInRow = ended ? 0 : samplePosition % rowLength;
    newRow = !ended;
    mix = Ring();
    const uint32_t start = samplePosition - row * rowLength - sampleInRow;
    for (Voice& v : voices) {
        v.ring = Ring();
        for (Envelope* e : Collect(v)) {
            // Song mode (and unknown modes) count from the song start; the
            // pattern modes from the last of every 1st, 2nd or 4th position.
            const int32_t mode = e->p.resetMode;
            uint32_t elapsed = samplePosition;
            if (mode == 3)
                elapsed = 0;
            else if (mode == 1 || mode == 2 || mode == 4)
                elapsed = samplePosition - start + orderPosition % uint32_t(mode) * 16 * rowLength;
            e->counter = W(int64_t(elapsed / 44) * e->p.speed);
            e->value = EnvValue(*e, e->counter);
        }
        for (Effect& e : v.effects)
            Prepare(e);
    }
}

int32_t Player::Output(Oscillator& o)
{
    if (o.increment == 0)
        return 0;
    const int32_t a = Shr8(int64_t(o.volumeEnvelope.value) * o.volume);
    int32_t w;
    if (o.type == 0)
        w = Sine(int64_t(o.phase >> 8)) * 256;
    else if (o.type == 1)
        w = int32_t(o.phase % 65536) - 32768;
    else if (o.type == 2)
        w = o.phase % 65536 <= 32767 ? -32768 : 32767;
    else if (o.type == 3)
        w = (Noise() % 256 - 128) * 256;
    else
        return 0;
    return Shr8(int64_t(a) * w);
}

int32_t Player::Render(Voice& v)
{
    const auto gain = int32_t((uint32_t(v.envelope.value) * uint32_t(v.volume)) >> 8);
    int32_t x = 0;
    if (v.gate) {
        int32_t sum = 0;
        for (Oscillator& o : v.carriers)
            sum = W(int64_t(sum) + Output(o));
        x = Shr8(int64_t(sum) * gain);
    }
    for (Effect& e : v.effects)
        x = Process(e, x);
    v.ring.values[v.ring.index] = x;
    return v.enabled ? x : 0;
}

void Player::Advance(Voice& v)
{
    for (size_t i = 0; i < v.carriers.size(); ++i) {
        Oscillator& m = v.modulators[i];
        Oscillator& c = v.carriers[i];
        const int32_t out = Output(m);
        m.phase += uint32_t(Shr8(int64_t(m.transitionEnvelope.value) * m.increment));
        c.fmOffset = out >> 3;
        c.phase += uint32_t(W(int64_t(Shr8(int64_t(c.transitionEnvelope.value) * c.increment)) +
                              (c.transition ? c.fmOffset : 0)));
    }
    v.ring.index = (v.ring.index + 1) % 65536;
}

void Player::NoteOn(Voice& v, uint32_t note)
{
    if (note == 255) {
        v.gate = v.gate && v.envelope.p.sustainEnabled;
        return;
    }
    v.gate = v.gate || note < 255;
    for (std::vector<Oscillator>* list : {&v.carriers, &v.modulators})
        for (Oscillator& o : *list)
            std::tie(o.phase, o.increment) = std::tuple(0u, Increment(o.pitch, note));
}

int32_t Player::Mix()
{
    for (int c = 0; newRow && c < 8; ++c) {
        const uint32_t p = orderPosition <= 255 ? song->orderTable[c][orderPosition] : 0;
        const uint32_t v = p <= 15 && row <= 15 ? song->patterns[c][p][row] : 0;
        if (v == 0)
            continue;
        NoteOn(voices[c], v);
        for (Envelope* e : Collect(voices[c])) {
            if (v == 255) {
                e->released = true;
            } else if (e->p.resetMode == 3) {
                e->counter = 0;
                e->released = false;
                e->value = EnvValue(*e, 0);
            }
        }
    }
    int32_t sum = 0;
    for (Voice& v : voices)
        sum = W(int64_t(sum) + Render(v));
    return std::clamp(Shr8(int64_t(sum) * masterVolume), -32768, 32767);
}

void Player::Tick()
{
    ++samplePosition;
    ++sampleInRow;
    ++envelopeTick;
    newRow = false;
    if (envelopeTick >= 44) {
        envelopeTick = 0;
        for (Voice& v : voices)
            for (Envelope* e : Collect(v))
                Step(*e);
    }
    if (sampleInRow >= rowLength) {
        ++row;
        newRow = true;
        sampleInRow = 0;
        if (row >= 16) {
            row = 0;
            if (loop) {
                samplePosition = orderPosition * rowLength * 16;
                mix = Ring();
                for (Voice& v : voices)
                    v.ring = Ring();
            } else if (++orderPosition >= songLength) {
                newRow = false;
                ended = true;
            }
            for (Voice& v : voices) {
                for (Envelope* e : Collect(v)) {
                    const int32_t mode = e->p.resetMode;
                    if ((mode == 1 || mode == 2 || mode == 4) && orderPosition % uint32_t(mode) == 0) {
                        e->counter = 0;
                        e->value = EnvValue(*e, 0);
                    }
                }
            }
        }
    }
    if (!ended)
        for (Voice& v : voices)
            Advance(v);
}

std::vector<int16_t> Player::Read(uint32_t samples)
{
    Sync();
    std::vector<int16_t> result;
    while (result.size() < samples && !ended) {
        const int32_t s = Mix();
        mix.values[mix.index] = s;
        mix.index = (mix.index + 1) % 65536;
        result.push_back(int16_t(s));
        Tick();
    }
    return result;
}

} // namespace reference
