#include "RixModuleData.h"

#include <string>

#include "RixFileFields.h"
#include "RixVersion2Fields.h"
#include "nexilon/Exceptions.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/OutputStreamSelector.h"
#include "nexilon/VarReader.h"
#include "nexilon/VarWriter.h"

namespace rix {

namespace {

constexpr const char* kSource = "RixModuleLoader";

constexpr char16_t kVersion3Header[] = u"sonrix v3.0";
constexpr char16_t kVersion2Header[] = u"sonrix v2.0";

// Version 2 order entries above this are no pattern number.
constexpr int32_t kVersion2HighestPattern = 15;

[[noreturn]] void ThrowInvalidData(const char* function, int line)
{
    throw nexilon::CDataFormatException(function, kSource, line, "Invalid data format");
}

// Reads a channel number and checks it before anything is indexed with it;
// the unsigned comparison rejects negative numbers too.
CRixModuleChannel& ReadChannel(CRixModuleData& data, nexilon::CVarReader& reader, const char* function)
{
    int32_t channel = 0;
    reader >> channel;
    if (static_cast<uint32_t>(channel) >= static_cast<uint32_t>(RIX_CHANNELS))
        ThrowInvalidData(function, __LINE__);
    return data.channels[channel];
}

} // namespace

void CRixModuleData::Save(nexilon::COutputStreamSelector& selector) const
{
    nexilon::IOutputStream& stream = *selector.GetOutputStreamTmp();

    // The header is the archive form of a wide string, written raw.
    std::string header = {'\xFF', '\xFE', '\xFF', static_cast<char>(std::char_traits<char16_t>::length(kVersion3Header))};
    for (const char16_t* unit = kVersion3Header; *unit; ++unit) {
        header += static_cast<char>(*unit & 0xFF);
        header += static_cast<char>(*unit >> 8);
    }
    stream.Write(header.data(), header.size());

    nexilon::CVarWriter writer(stream);
    writer << static_cast<int32_t>(RIXTAG_CURRENT_SPEED);
    writer << static_cast<int32_t>(RIXTAG_TEMPO_VOLUME) << bpm << masterVolume;
    writer << static_cast<int32_t>(RIXTAG_ORDER_TABLE);
    for (const auto& table : orderTable)
        for (uint32_t entry : table)
            writer << entry;
    writer << static_cast<int32_t>(RIXTAG_PATTERNS);
    for (const auto& channelPatterns : patterns)
        for (const auto& pattern : channelPatterns)
            for (uint32_t cell : pattern)
                writer << cell;

    for (int32_t c = 0; c < RIX_CHANNELS; ++c) {
        writer << static_cast<int32_t>(RIXTAG_CHANNEL) << c << channels[c].volume;
        WriteEnvelope(writer, channels[c].envelope);
    }
    for (int32_t c = 0; c < RIX_CHANNELS; ++c) {
        for (const TRixOscillator& oscillator : channels[c].oscillators) {
            writer << static_cast<int32_t>(RIXTAG_OSCILLATOR) << c;
            WriteOscillatorFields(writer, oscillator, true);
        }
        for (const TRixOscillator& oscillator : channels[c].transitionOscillators) {
            writer << static_cast<int32_t>(RIXTAG_TRANSITION_OSCILLATOR) << c;
            WriteOscillatorFields(writer, oscillator, false);
        }
    }
    for (int32_t c = 0; c < RIX_CHANNELS; ++c) {
        for (const TRixEffect& effect : channels[c].effects) {
            // An effect type without a record cannot come from a file or an
            // editor; it has nothing to be written as.
            const int32_t tag = EffectTag(effect.type);
            if (tag == 0)
                continue;
            writer << tag << c;
            WriteEffectFields(writer, effect);
        }
    }
    writer << static_cast<int32_t>(RIXTAG_END);
}

void CRixModuleData::Load(nexilon::CInputStreamSelector& selector)
{
    Reset();
    nexilon::CVarReader reader(*selector.GetInputStreamTmp());

    // Four bytes of which the fourth is the length, then that many UTF-16
    // code units; at most 510 bytes, so nothing to check before reading.
    unsigned char prefix[4];
    for (unsigned char& byte : prefix)
        reader >> byte;
    unsigned char units[2 * 255];
    const std::size_t length = prefix[3];
    reader.ReadBytes(units, 2 * length);
    std::u16string header;
    for (std::size_t i = 0; i < length; ++i)
        header += static_cast<char16_t>(units[2 * i] | (units[2 * i + 1] << 8));

    if (header == kVersion3Header)
        LoadVersion3(reader);
    else if (header == kVersion2Header)
        LoadVersion2(reader);
    else
        throw nexilon::CDataFormatException("rix::CRixModuleData::Load", kSource, __LINE__, "Invalid file format");
}

void CRixModuleData::LoadVersion3(nexilon::CVarReader& reader)
{
    constexpr const char* kFunction = "rix::CRixModuleData::LoadVersion3";
    CParallelListsGuard parallelLists(channels, RIX_CHANNELS);
    bool oldTimeBase = true;
    int32_t tag = 0;
    reader >> tag;
    while (tag != RIXTAG_END) {
        switch (tag) {
        case RIXTAG_CURRENT_SPEED:
            oldTimeBase = false;
            break;
        case RIXTAG_TEMPO:
            reader >> bpm;
            masterVolume = RIX_DEFAULT_VOLUME;
            break;
        case RIXTAG_TEMPO_VOLUME:
            reader >> bpm >> masterVolume;
            break;
        case RIXTAG_ORDER_TABLE:
            for (auto& table : orderTable)
                for (uint32_t& entry : table)
                    reader >> entry;
            break;
        case RIXTAG_PATTERNS:
            for (auto& channelPatterns : patterns)
                for (auto& pattern : channelPatterns)
                    for (uint32_t& cell : pattern)
                        reader >> cell;
            break;
        case RIXTAG_CHANNEL: {
            CRixModuleChannel& channel = ReadChannel(*this, reader, kFunction);
            int32_t volume = 0;
            reader >> volume;
            const TRixEnvelope envelope = ReadEnvelope(reader, oldTimeBase);
            channel.volume = volume;
            channel.envelope = envelope;
            channel.oscillators.clear();
            channel.transitionOscillators.clear();
            break;
        }
        case RIXTAG_OSCILLATOR: {
            CRixModuleChannel& channel = ReadChannel(*this, reader, kFunction);
            channel.oscillators.push_back(ReadOscillatorFields(reader, true, oldTimeBase));
            break;
        }
        case RIXTAG_TRANSITION_OSCILLATOR: {
            CRixModuleChannel& channel = ReadChannel(*this, reader, kFunction);
            channel.transitionOscillators.push_back(ReadOscillatorFields(reader, false, oldTimeBase));
            break;
        }
        case RIXTAG_PLAIN_OSCILLATOR: {
            CRixModuleChannel& channel = ReadChannel(*this, reader, kFunction);
            channel.oscillators.push_back(ReadOscillatorFields(reader, false, oldTimeBase));
            channel.transitionOscillators.emplace_back();
            break;
        }
        case RIXTAG_OVERDRIVE_DRIVE: {
            CRixModuleChannel& channel = ReadChannel(*this, reader, kFunction);
            uint32_t drive = 0;
            reader >> drive;
            TRixEffect overdrive = TRixEffect::OfType(RIXEFFECT_OVERDRIVE);
            overdrive.param1 = static_cast<int32_t>(drive);
            overdrive.param2 = 255;
            channel.effects.push_back(overdrive);
            break;
        }
        default: {
            if (!IsEffectTag(tag))
                ThrowInvalidData(kFunction, __LINE__);
            CRixModuleChannel& channel = ReadChannel(*this, reader, kFunction);
            channel.effects.push_back(ReadEffectFields(reader, tag, oldTimeBase));
            break;
        }
        }
        reader >> tag;
    }
}

void CRixModuleData::LoadVersion2(nexilon::CVarReader& reader)
{
    constexpr const char* kFunction = "rix::CRixModuleData::LoadVersion2";
    const TRixVersion2Scale& scale = RIX_MODULE_VERSION2_SCALE;
    CParallelListsGuard parallelLists(channels, RIX_CHANNELS);
    // Files of this version may simply end after their last record.
    while (!reader.IsExhausted()) {
        int32_t tag = 0;
        reader >> tag;
        switch (tag) {
        case RIXV2_END:
            return;
        case RIXV2_SONG: {
            float volume = 0;
            reader >> bpm >> volume;
            masterVolume = TruncateToInt32(static_cast<double>(volume) * 255.0);
            for (int i = 0; i < 3; ++i)
                SkipVersion2String(reader);
            break;
        }
        case RIXV2_ORDER_TABLE:
            for (auto& table : orderTable)
                for (uint32_t& entry : table) {
                    int32_t value = 0;
                    reader >> value;
                    if (value > kVersion2HighestPattern)
                        ThrowInvalidData(kFunction, __LINE__);
                    entry = static_cast<uint32_t>(value);
                }
            break;
        case RIXV2_PATTERNS:
            for (auto& channelPatterns : patterns)
                for (auto& pattern : channelPatterns)
                    for (uint32_t& cell : pattern)
                        reader >> cell;
            break;
        case RIXV2_CHANNEL: {
            CRixModuleChannel& channel = ReadChannel(*this, reader, kFunction);
            float volume = 0;
            reader >> volume;
            const TRixEnvelope envelope = ReadVersion2Envelope(reader, RIXLEVELS_FACTOR, scale);
            channel.volume = TruncateToInt32(static_cast<double>(volume) * 255.0);
            channel.envelope = envelope;
            channel.oscillators.clear();
            channel.transitionOscillators.clear();
            break;
        }
        case RIXV2_DELAY: {
            CRixModuleChannel& channel = ReadChannel(*this, reader, kFunction);
            if (const auto delay = ReadVersion2Delay(reader))
                channel.effects.push_back(*delay);
            break;
        }
        case RIXV2_FLANGE: {
            CRixModuleChannel& channel = ReadChannel(*this, reader, kFunction);
            if (const auto flange = ReadVersion2Flange(reader, scale))
                channel.effects.push_back(*flange);
            break;
        }
        case RIXV2_OSCILLATOR: {
            CRixModuleChannel& channel = ReadChannel(*this, reader, kFunction);
            channel.oscillators.push_back(ReadVersion2Oscillator(reader, scale));
            channel.transitionOscillators.emplace_back();
            break;
        }
        case RIXV2_UNUSED_A: {
            int32_t first = 0;
            bool second = false;
            int32_t third = 0;
            reader >> first >> second >> third;
            break;
        }
        case RIXV2_UNUSED_B:
            SkipVersion2Record10(reader, scale);
            break;
        default:
            ThrowInvalidData(kFunction, __LINE__);
        }
    }
}

} // namespace rix
