#pragma once

// Test helpers for module and instrument files: a builder for file bytes
// written value by value, feature-rich songs and instruments whose every
// member survives a save, and loading and saving through memory streams.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "RixModuleData.h"
#include "nexilon/Exceptions.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/MemoryStream.h"
#include "nexilon/OutputStreamSelector.h"

namespace rixtest {

// File bytes in the typed writer's encoding (little-endian), built by hand
// so that tests do not depend on the code that writes files.
class CFileBytes {
public:
    CFileBytes& Byte(uint8_t value)
    {
        bytes += static_cast<char>(value);
        return *this;
    }
    CFileBytes& Unsigned(uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            Byte(static_cast<uint8_t>(value >> (8 * i)));
        return *this;
    }
    CFileBytes& Int(int32_t value) { return Unsigned(static_cast<uint32_t>(value)); }
    CFileBytes& Float(float value)
    {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return Unsigned(bits);
    }
    CFileBytes& Bool(bool value) { return Byte(value ? 1 : 0); }
    // FF FE FF, a length byte, UTF-16LE: the module header, version 2
    // strings and short strings of the typed writer.
    CFileBytes& WideString(std::u16string_view text)
    {
        Byte(0xFF).Byte(0xFE).Byte(0xFF).Byte(static_cast<uint8_t>(text.size()));
        for (char16_t unit : text)
            Byte(static_cast<uint8_t>(unit & 0xFF)).Byte(static_cast<uint8_t>(unit >> 8));
        return *this;
    }
    CFileBytes& Envelope(const rix::TRixEnvelope& e)
    {
        Int(e.minValue).Int(e.maxValue).Int(e.speed).Int(e.resetMode).Int(e.phase).Int(e.keep).Int(e.sustain);
        return Bool(e.keepEnabled).Bool(e.sustainEnabled);
    }
    // A version 2 envelope: f1..f6, keep, sustain, song reset.
    CFileBytes& Envelope2(std::array<float, 6> f, bool keep = true, bool sustain = false, bool songReset = false)
    {
        for (float value : f)
            Float(value);
        return Bool(keep).Bool(sustain).Bool(songReset);
    }
    CFileBytes& Repeat(uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            Unsigned(value);
        return *this;
    }
    // Remembers the current size as a record boundary.
    CFileBytes& Mark()
    {
        marks.push_back(bytes.size());
        return *this;
    }

    const std::string& Bytes() const { return bytes; }
    const std::vector<std::size_t>& Marks() const { return marks; }

private:
    std::string bytes;
    std::vector<std::size_t> marks;
};

inline std::string SaveModuleBytes(const rix::CRixModuleData& data)
{
    auto output = nexilon::CreateMemoryOutputStream();
    nexilon::COutputStreamSelector selector(output.Get());
    data.Save(selector);
    return output->GetBytes();
}

inline void LoadModuleBytes(rix::CRixModuleData& data, std::string_view bytes)
{
    auto input = nexilon::CreateMemoryInputStream(bytes);
    nexilon::CInputStreamSelector selector(input.Get());
    data.Load(selector);
}

inline std::string SaveInstrumentBytes(const rix::CRixModuleChannel& channel)
{
    auto output = nexilon::CreateMemoryOutputStream();
    nexilon::COutputStreamSelector selector(output.Get());
    channel.Save(selector);
    return output->GetBytes();
}

inline void LoadInstrumentBytes(rix::CRixModuleChannel& channel, std::string_view bytes)
{
    auto input = nexilon::CreateMemoryInputStream(bytes);
    nexilon::CInputStreamSelector selector(input.Get());
    channel.Load(selector);
}

// Runs action and checks that it throws TException with exactly these
// operation name, source file and message.
template <class TException, class TAction>
void ExpectFailure(TAction&& action, const std::string& function, const std::string& file,
                   const std::string& message)
{
    try {
        action();
        ADD_FAILURE() << "no exception; expected \"" << message << "\" from " << function;
    } catch (const TException& error) {
        EXPECT_EQ(error.GetFunction(), function);
        EXPECT_EQ(error.GetFile(), file);
        EXPECT_EQ(error.GetMessage(), message);
    }
}

inline rix::TRixEnvelope MakeEnvelope(int32_t seed)
{
    return {-7 * seed, 300 + seed, 600 + 13 * seed, seed % 5, 2048 * seed, 131072 - seed, 4096 + seed,
            seed % 2 == 0, seed % 3 == 0};
}

// An instrument that uses every record: several oscillator pairs with and
// without transition, every effect type with its used members changed and
// its unused members at the type defaults (a file does not carry those).
inline rix::CRixModuleChannel MakeFeatureChannel(int32_t seed)
{
    rix::CRixModuleChannel channel;
    channel.volume = 37 + seed;
    channel.envelope = MakeEnvelope(seed + 100);
    channel.oscillators.clear();
    channel.transitionOscillators.clear();
    for (int32_t i = 0; i < 1 + seed % 3; ++i) {
        rix::TRixOscillator oscillator;
        oscillator.type = (seed + i) % 4;
        oscillator.volume = 90 + i;
        oscillator.pitch = -1200 + 7 * i + seed;
        oscillator.volumeEnvelope = MakeEnvelope(seed + i);
        oscillator.transitionEnvelope = MakeEnvelope(seed + i + 20);
        oscillator.transition = (seed + i) % 2 == 0;
        rix::TRixOscillator transition;
        transition.type = (seed + i + 1) % 4;
        transition.volume = 300 - i;
        transition.pitch = 2400 - seed;
        transition.volumeEnvelope = MakeEnvelope(seed + i + 40);
        transition.transitionEnvelope = MakeEnvelope(seed + i + 60);
        channel.oscillators.push_back(oscillator);
        channel.transitionOscillators.push_back(transition);
    }
    for (int32_t i = 0; i < 7; ++i) {
        const int32_t type = (seed + i) % 7;
        rix::TRixEffect effect = rix::TRixEffect::OfType(type);
        switch (type) {
        case rix::RIXEFFECT_DELAY:
            effect.param1 = 250 + seed;
            effect.param2 = 64;
            break;
        case rix::RIXEFFECT_FLANGE:
            effect.envelope1 = MakeEnvelope(seed + 80);
            break;
        case rix::RIXEFFECT_LOWPASS:
        case rix::RIXEFFECT_HIGHPASS:
            effect.param1 = 10 + type;
            effect.envelope1 = MakeEnvelope(seed + type);
            break;
        case rix::RIXEFFECT_OVERDRIVE:
            effect.param1 = static_cast<int32_t>(0xFFFFFFF0u); // unsigned in files
            effect.param2 = 3;
            effect.envelope1 = MakeEnvelope(seed + 90);
            break;
        default:
            effect.param1 = -5;
            effect.param2 = 1 << 20;
            effect.envelope1 = MakeEnvelope(seed + type);
            effect.envelope2 = MakeEnvelope(seed + type + 1);
            break;
        }
        channel.effects.push_back(effect);
    }
    return channel;
}

// A song that uses every record of a version 3 file, with order and pattern
// values beyond the editors' ranges and one channel without oscillators and
// one without effects.
inline rix::CRixModuleData MakeFeatureModule()
{
    rix::CRixModuleData data;
    data.bpm = 175;
    data.masterVolume = 213;
    for (int c = 0; c < rix::RIX_CHANNELS; ++c) {
        for (int p = 0; p < rix::RIX_ORDER_POSITIONS; ++p)
            data.orderTable[c][p] = static_cast<uint32_t>((c * 7 + p) % 16);
        for (int pattern = 0; pattern < rix::RIX_PATTERNS; ++pattern)
            for (int row = 0; row < rix::RIX_ROWS; ++row)
                data.patterns[c][pattern][row] = static_cast<uint32_t>((c * 31 + pattern * 17 + row * 5) % 256);
        data.channels[c] = MakeFeatureChannel(c);
    }
    data.orderTable[7][255] = 0xFFFFFFFFu;
    data.patterns[0][0][0] = 0x80000000u;
    data.channels[5].oscillators.clear();
    data.channels[5].transitionOscillators.clear();
    data.channels[6].effects.clear();
    return data;
}

} // namespace rixtest
