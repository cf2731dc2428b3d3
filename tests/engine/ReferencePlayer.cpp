#include "ReferencePlayer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace reference {

namespace {

int32_t W(int64_t v)
{
    return int32_t(uint32_t(uint64_t(v)));
}

int32_t Shr8(int64_t v)
{
    return W(v) >> 8;
}

int32_t Div256(int64_t v)
{
    return W(v) / 256;
}

int32_t Sine(int64_t v)
{
    const int x = int(((v % 256) + 256) % 256) - 128;
    return int(std::floor(double(std::abs(x) * x) / 32.0)) - 4 * x;
}

int32_t EnvValue(const Envelope& e, int32_t counter)
{
    int32_t c = counter;
    if (e.p.keepEnabled && c > e.p.keep)
        c = e.p.keep;
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
    if (bpm < 1)
        bpm = 1;
    const float q = float(bpm / 60.0 * 4);
    const float p = float(1.0 / q);
    const int64_t length = int64_t(double(p) * 44100);
    return length < 1 ? 1 : uint32_t(length);
}

int32_t Increment(int32_t pitch, uint32_t note)
{
    const double c = double(0.01f);
    const float t = float((pitch * c + double(note) - 58) / 12);
    const float r = float(std::pow(2.0, double(t)));
    const float f = float(double(r) * 440);
    const double increment = double(f) / 44100 * 65536;
    if (std::isnan(increment) || increment >= 2147483648.0 || increment <= -2147483649.0)
        return INT32_MIN;
    return int32_t(increment);
}

void CopyOscillator(Oscillator& o, const rix::TRixOscillator& m)
{
    o.type = m.type;
    o.volume = m.volume;
    o.pitch = m.pitch;
    o.volumeEnvelope.p = m.volumeEnvelope;
    o.transitionEnvelope.p = m.transitionEnvelope;
    o.transition = m.transition;
}

void Prepare(Effect& e)
{
    const rix::TRixEffect& r = e.record;
    e.length = 0;
    e.position = 0;
    switch (r.type) {
    case 0:
        e.delay = uint32_t(e.rowLength * uint32_t(r.param1)) / 100;
        if (uint64_t(e.delay) + 2 > 4194304)
            e.delay = 4194302;
        e.length = e.delay + 2;
        break;
    case 1: {
        e.e1.p = r.envelope1;
        const int64_t n = int64_t(r.envelope1.maxValue) + 2;
        e.length = n <= 0 ? 0 : uint32_t(std::min<int64_t>(n, 4194304));
        break;
    }
    case 2:
    case 3:
        e.e1.p = r.envelope1;
        e.coefficient = r.param1;
        e.length = 10;
        break;
    case 4:
        e.e1.p = r.envelope1;
        e.e2.p = r.envelope2;
        e.cutoff = r.param1;
        e.amount = r.param2;
        e.low = e.band = 0;
        break;
    case 5:
        e.limit = W(int64_t(r.param1) * 127);
        if (e.limit == 0)
            e.limit = 1;
        e.gain = r.param2;
        e.e1.p = r.envelope1;
        break;
    case 6:
        e.e1.p = r.envelope1;
        e.e2.p = r.envelope2;
        e.length = 10;
        e.low = e.band = 0;
        break;
    default:
        break;
    }
    e.in.assign(e.length, 0);
    e.out.assign(e.length, 0);
}

int32_t Process(Effect& e, int32_t x)
{
    const rix::TRixEffect& r = e.record;
    int32_t y = x;
    const uint32_t j = e.length ? (e.position + e.length - 1) % e.length : 0;
    switch (r.type) {
    case 0: {
        const uint32_t i = (e.position - e.delay + e.length) % e.length;
        y = W(int64_t(x) + Shr8(int64_t(e.out[i]) * r.param2));
        break;
    }
    case 1:
        if (e.length) {
            const uint32_t i = (e.position - uint32_t(e.e1.value) + e.length) % e.length;
            y = W(int64_t(x) + e.in[i]);
        }
        break;
    case 2: {
        const int32_t a = Shr8(int64_t(e.coefficient) * e.e1.value);
        y = W(int64_t(Div256(int64_t(W(255 - int64_t(a))) * e.out[j])) + Div256(int64_t(a) * x));
        break;
    }
    case 3: {
        const int32_t a = Shr8(int64_t(e.coefficient) * e.e1.value);
        const int64_t first = W(int64_t(W(int64_t(x) - e.in[j])) * (W(511 - int64_t(a)) / 2));
        const int64_t second = W(int64_t(W(255 - int64_t(a))) * e.out[j]);
        y = Shr8(first + second);
        break;
    }
    case 4: {
        const int32_t f = Shr8(int64_t(e.cutoff) * e.e1.value);
        const int32_t q = Shr8(int64_t(e.amount) * e.e2.value);
        const int32_t d = W(255 - int64_t(Div256(int64_t(W(255 - int64_t(q))) * f)));
        e.low = Div256(int64_t(W(int64_t(W(int64_t(x) - e.band)) * f)) + W(int64_t(e.low) * d));
        e.band = Div256(int64_t(W(int64_t(e.band) * d)) + W(int64_t(e.low) * f));
        y = e.band;
        break;
    }
    case 5: {
        const int32_t limit = e.limit;
        const int32_t negative = W(-int64_t(limit));
        int32_t c = x;
        if (c > limit)
            c = limit;
        else if (c < negative)
            c = negative;
        const int32_t g = Shr8(int64_t(e.gain) * e.e1.value);
        const int32_t scaled = W(int64_t(c) * 32767);
        const int32_t quotient = limit == -1 ? W(-int64_t(scaled)) : scaled / limit;
        y = Shr8(int64_t(g) * quotient);
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
    for (Voice& v : voices)
        v = Voice();
    std::fill(ring.begin(), ring.end(), 0);
    ringIndex = 0;
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
    for (size_t i = 0; i < v.carriers.size(); ++i) {
        list.push_back(&v.carriers[i].volumeEnvelope);
        list.push_back(&v.carriers[i].transitionEnvelope);
        list.push_back(&v.modulators[i].volumeEnvelope);
        list.push_back(&v.modulators[i].transitionEnvelope);
    }
    for (Effect& e : v.effects) {
        list.push_back(&e.e1);
        list.push_back(&e.e2);
    }
    if (list.size() > 256)
        list.resize(256);
    return list;
}

void Player::Sync()
{
    if (!dirty)
        return;
    const uint32_t candidate = RowLength(song->bpm);
    if (candidate != rowLength) {
        rowLength = candidate;
        samplePosition = (orderPosition * 16 + row) * rowLength;
        SyncRest();
        SeekCore(uint64_t(samplePosition) * 2);
    }
    SyncRest();
    dirty = false;
}

void Player::SyncRest()
{
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
        if (channel.effects.size() != v.effects.size()) {
            v.effects.assign(channel.effects.size(), Effect());
            for (Effect& e : v.effects)
                Prepare(e);
        }
        for (size_t i = 0; i < v.effects.size(); ++i) {
            Effect& e = v.effects[i];
            if (e.record == channel.effects[i] && e.rowLength == rowLength)
                continue;
            e.record = channel.effects[i];
            e.rowLength = rowLength;
            Prepare(e);
        }
    }
}

void Player::Seek(uint64_t bytePosition)
{
    Sync();
    SeekCore(bytePosition);
}

void Player::SeekCore(uint64_t bytePosition)
{
    samplePosition = uint32_t(bytePosition / 2);
    const uint32_t n = samplePosition / rowLength;
    row = n % 16;
    orderPosition = n / 16;
    if (orderPosition < songLength) {
        ended = false;
        sampleInRow = samplePosition % rowLength;
        newRow = true;
    } else {
        orderPosition = songLength;
        samplePosition = songLength * rowLength * 16;
        ended = true;
        sampleInRow = 0;
        newRow = false;
    }
    std::fill(ring.begin(), ring.end(), 0);
    ringIndex = 0;
    const uint32_t start = samplePosition - row * rowLength - sampleInRow;
    for (Voice& v : voices) {
        std::fill(v.ring.begin(), v.ring.end(), 0);
        v.ringIndex = 0;
        for (Envelope* e : Collect(v)) {
            uint32_t elapsed = samplePosition;
            switch (e->p.resetMode) {
            case 1:
                elapsed = samplePosition - start;
                break;
            case 2:
                elapsed = orderPosition % 2 == 0 ? samplePosition - start
                                                 : samplePosition - (start - 16 * rowLength);
                break;
            case 3:
                elapsed = 0;
                break;
            case 4:
                elapsed = samplePosition - (start - (orderPosition % 4) * 16 * rowLength);
                break;
            }
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
    switch (o.type) {
    case 0:
        w = Sine(int64_t(o.phase >> 8)) * 256;
        break;
    case 1:
        w = int32_t(o.phase % 65536) - 32768;
        break;
    case 2:
        w = o.phase % 65536 <= 32767 ? -32768 : 32767;
        break;
    case 3:
        w = (Noise() % 256 - 128) * 256;
        break;
    default:
        return 0;
    }
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
    v.ring[v.ringIndex] = x;
    return v.enabled ? x : 0;
}

void Player::Advance(Voice& v)
{
    for (size_t i = 0; i < v.carriers.size(); ++i) {
        Oscillator& m = v.modulators[i];
        Oscillator& c = v.carriers[i];
        const int32_t out = Output(m);
        m.phase += uint32_t(W(int64_t(Shr8(int64_t(m.transitionEnvelope.value) * m.increment)) +
                              (m.transition ? m.fmOffset : 0)));
        c.fmOffset = out >> 3;
        c.phase += uint32_t(W(int64_t(Shr8(int64_t(c.transitionEnvelope.value) * c.increment)) +
                              (c.transition ? c.fmOffset : 0)));
    }
    v.ringIndex = (v.ringIndex + 1) % 65536;
}

void Player::NoteOn(Voice& v, uint32_t note)
{
    if (note < 255)
        v.gate = true;
    if (note == 255 && !v.envelope.p.sustainEnabled)
        v.gate = false;
    if (note != 255) {
        for (Oscillator& o : v.carriers) {
            o.phase = 0;
            o.increment = Increment(o.pitch, note);
        }
        for (Oscillator& o : v.modulators) {
            o.phase = 0;
            o.increment = Increment(o.pitch, note);
        }
    }
}

int32_t Player::Mix()
{
    if (newRow) {
        for (int c = 0; c < 8; ++c) {
            const uint32_t p = orderPosition <= 255 ? song->orderTable[c][orderPosition] : 0;
            if (p > 15 || row > 15)
                continue;
            const uint32_t v = song->patterns[c][p][row];
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
                std::fill(ring.begin(), ring.end(), 0);
                ringIndex = 0;
                for (Voice& v : voices) {
                    std::fill(v.ring.begin(), v.ring.end(), 0);
                    v.ringIndex = 0;
                }
            } else {
                ++orderPosition;
                if (orderPosition >= songLength) {
                    newRow = false;
                    ended = true;
                }
            }
            for (Voice& v : voices) {
                for (Envelope* e : Collect(v)) {
                    const int32_t mode = e->p.resetMode;
                    if (mode == 1 || (mode == 2 && orderPosition % 2 == 0) || (mode == 4 && orderPosition % 4 == 0)) {
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
        ring[ringIndex] = s;
        ringIndex = (ringIndex + 1) % 65536;
        result.push_back(int16_t(s));
        Tick();
    }
    return result;
}

} // namespace reference
