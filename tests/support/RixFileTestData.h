#pragma once

// Files built value by value, independent of the code that writes them.

#include <gtest/gtest.h>

#include <algorithm>
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

// Little-endian, in the typed writer's encoding.
class CFileBytes {
public:
    CFileBytes() = default;
    explicit CFileBytes(std::u16string_view magic) { WideString(magic); }

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
    // FF FE FF, a length byte, UTF-16LE: headers and version 2 strings.
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
    // Remembers the current size as a place where the file may end.
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

// A module (CRixModuleData) or an instrument (CRixModuleChannel) file.
template <class T>
std::string SaveBytes(const T& item)
{
    auto output = nexilon::CreateMemoryOutputStream();
    nexilon::COutputStreamSelector selector(output.Get());
    item.Save(selector);
    return output->GetBytes();
}

template <class T>
void LoadBytes(T& item, std::string_view bytes)
{
    auto input = nexilon::CreateMemoryInputStream(bytes);
    nexilon::CInputStreamSelector selector(input.Get());
    item.Load(selector);
}

template <class T>
T Loaded(std::string_view bytes)
{
    T item;
    LoadBytes(item, bytes);
    return item;
}

// action must throw TException with exactly this function, file and message.
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

// Every cut of the file ends the stream early, except at validEnds.
template <class T>
void ExpectEveryTruncationFails(const std::string& bytes, const std::vector<std::size_t>& validEnds = {})
{
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE("cut to " + std::to_string(length) + " of " + std::to_string(bytes.size()) + " bytes");
        const auto load = [&] { Loaded<T>(bytes.substr(0, length)); };
        if (std::find(validEnds.begin(), validEnds.end(), length) != validEnds.end())
            EXPECT_NO_THROW(load());
        else
            ExpectFailure<nexilon::CIOException>(load, "nexilon::CVarReader::Read", "VarReader",
                                                 "Unexpected end of stream");
    }
}

inline rix::TRixEnvelope MakeEnvelope(int32_t seed)
{
    return {-7 * seed, 300 + seed, 600 + 13 * seed, seed % 5, 2048 * seed, 131072 - seed, 4096 + seed,
            seed % 2 == 0, seed % 3 == 0};
}

// Every record: oscillator pairs with and without transition, every effect
// type with its used members changed, the others at the type defaults.
inline rix::CRixModuleChannel MakeFeatureChannel(int32_t seed)
{
    rix::CRixModuleChannel channel;
    channel.volume = 37 + seed;
    channel.envelope = MakeEnvelope(seed + 100);
    channel.oscillators.clear();
    channel.transitionOscillators.clear();
    for (int32_t i = 0; i < 1 + seed % 3; ++i) {
        channel.oscillators.push_back({(seed + i) % 4, 90 + i, -1200 + 7 * i + seed, MakeEnvelope(seed + i),
                                       MakeEnvelope(seed + i + 20), (seed + i) % 2 == 0});
        channel.transitionOscillators.push_back({(seed + i + 1) % 4, 300 - i, 2400 - seed,
                                                 MakeEnvelope(seed + i + 40), MakeEnvelope(seed + i + 60), false});
    }
    for (int32_t i = 0; i < 7; ++i) {
        const int32_t type = (seed + i) % 7;
        rix::TRixEffect effect = rix::TRixEffect::OfType(type);
        if (type == rix::RIXEFFECT_DELAY) {
            effect.param1 = 250 + seed;
            effect.param2 = 64;
        } else if (type == rix::RIXEFFECT_FLANGE) {
            effect.envelope1 = MakeEnvelope(seed + 80);
        } else if (type == rix::RIXEFFECT_LOWPASS || type == rix::RIXEFFECT_HIGHPASS) {
            effect.param1 = 10 + type;
            effect.envelope1 = MakeEnvelope(seed + type);
        } else if (type == rix::RIXEFFECT_OVERDRIVE) {
            effect = {type, MakeEnvelope(seed + 90), effect.envelope2, static_cast<int32_t>(0xFFFFFFF0u), 3};
        } else {
            effect = {type, MakeEnvelope(seed + type), MakeEnvelope(seed + type + 1), -5, 1 << 20};
        }
        channel.effects.push_back(effect);
    }
    return channel;
}

// Every record, cells beyond the editors' ranges, a channel without
// oscillators and one without effects.
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

// Files with every record kind of the older forms; the loader fuzzers start
// from them. Version 2 module files may end at the marks.
inline CFileBytes LegacyModuleFile()
{
    const rix::TRixEnvelope e = MakeEnvelope(3);
    CFileBytes file(u"sonrix v3.0");
    file.Int(1).Int(140).Int(4).Int(0).Int(90).Envelope(e);
    file.Int(5).Int(0).Int(1).Int(80).Int(-300).Envelope(e).Envelope(e);
    file.Int(6).Int(1).Int(2).Int(70).Int(5).Bool(true).Envelope(e).Envelope(e);
    file.Int(7).Int(1).Int(3).Int(60).Int(0).Envelope(e).Envelope(e);
    file.Int(12).Int(2).Unsigned(7).Int(13).Int(2).Unsigned(8).Unsigned(9);
    file.Int(8).Int(3).Int(100).Int(50).Int(9).Int(3).Envelope(e);
    file.Int(10).Int(3).Int(5).Envelope(e).Int(11).Int(3).Int(6).Envelope(e);
    file.Int(14).Int(4).Int(1).Int(2).Envelope(e).Envelope(e).Int(15).Int(4).Int(3).Int(4).Envelope(e).Envelope(e);
    file.Int(17).Int(4).Unsigned(5).Unsigned(6).Envelope(e).Int(18).Int(16).Int(125).Int(99);
    return file.Int(255);
}

inline CFileBytes Version2ModuleFile()
{
    CFileBytes file(u"sonrix v2.0");
    file.Mark().Int(1).Int(125).Float(0.75f).WideString(u"t").WideString(u"").WideString(u"a").Mark();
    file.Int(4).Int(0).Float(0.5f).Envelope2({0, 1, 1, 0, 0, 0}, true, false, true).Mark();
    file.Int(7).Int(0).Int(0).Int(2).Envelope2({0, 1, 1, 1, 2, 3}).Envelope2({-12, 12, 1, 0, 0, 0});
    file.Float(1.0f).Float(0.5f).Mark().Int(5).Int(0).Bool(true).Float(1.0f).Float(1.0f).Mark();
    file.Int(6).Int(0).Bool(true).Float(0.0f).Envelope2({100, 200, 1, 0, 0, 0}).Mark();
    file.Int(9).Int(0).Bool(false).Int(0).Mark().Int(10).Bool(false).Float(0).Float(0).Envelope2({0, 1, 1, 0, 0, 0});
    return file.Mark().Int(8);
}

inline CFileBytes LegacyInstrumentFile()
{
    const rix::TRixEnvelope e = MakeEnvelope(6);
    CFileBytes file(u"sonrixi v3.0");
    file.Int(4).Int(80).Envelope(e).Int(6).Int(1).Int(2).Int(3).Bool(true).Envelope(e).Envelope(e);
    file.Int(7).Int(1).Int(2).Int(3).Envelope(e).Envelope(e);
    file.Int(13).Unsigned(1).Unsigned(2).Int(8).Int(3).Int(4).Int(9).Envelope(e);
    file.Int(10).Int(5).Envelope(e).Int(11).Int(6).Envelope(e).Int(14).Int(1).Int(2).Envelope(e).Envelope(e);
    file.Int(15).Int(3).Int(4).Envelope(e).Envelope(e).Int(17).Unsigned(5).Unsigned(6).Envelope(e);
    return file.Int(255);
}

inline CFileBytes Version2InstrumentFile()
{
    CFileBytes file(u"sonrixi v2.0");
    file.Int(4).Float(0.5f).Envelope2({0, 1, 1, 0, 0, 0});
    file.Int(7).Int(0).Int(3).Envelope2({0, 1, 1, 0, 0, 0}).Envelope2({0, 7, 1, 0, 0, 0}).Float(1).Float(0);
    file.Int(5).Bool(true).Float(1).Float(1).Int(6).Bool(true).Float(0).Envelope2({1, 2, 1, 0, 0, 0});
    file.Int(9).Bool(true).Float(0).Int(10).Bool(true).Float(0).Float(0).Envelope2({0, 1, 1, 0, 0, 0});
    return file.Int(8);
}

} // namespace rixtest
