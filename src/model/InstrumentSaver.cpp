#include "RixModuleChannel.h"

#include "RixFileFields.h"
#include "RixVersion2Fields.h"
#include "nexilon/Exceptions.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/OutputStreamSelector.h"
#include "nexilon/VarReader.h"
#include "nexilon/VarWriter.h"

namespace rix {

namespace {

constexpr const char* kSource = "InstrumentSaver";

constexpr char16_t kVersion3Magic[] = u"sonrixi v3.0";
constexpr char16_t kVersion2Magic[] = u"sonrixi v2.0";

[[noreturn]] void ThrowInvalidData(const char* function, int line)
{
    throw nexilon::CDataFormatException(function, kSource, line, "Invalid data format");
}

} // namespace

void CRixModuleChannel::Save(nexilon::COutputStreamSelector& selector) const
{
    nexilon::CVarWriter writer(*selector.GetOutputStreamTmp());
    writer << nexilon::CString(kVersion3Magic);
    writer << static_cast<int32_t>(RIXTAG_CURRENT_SPEED);
    writer << static_cast<int32_t>(RIXTAG_CHANNEL) << volume;
    WriteEnvelope(writer, envelope);
    for (const TRixOscillator& oscillator : oscillators) {
        writer << static_cast<int32_t>(RIXTAG_OSCILLATOR);
        WriteOscillatorFields(writer, oscillator, true);
    }
    for (const TRixOscillator& oscillator : transitionOscillators) {
        writer << static_cast<int32_t>(RIXTAG_TRANSITION_OSCILLATOR);
        WriteOscillatorFields(writer, oscillator, false);
    }
    for (const TRixEffect& effect : effects) {
        // An effect type without a record cannot come from a file or an
        // editor; it has nothing to be written as.
        const int32_t tag = EffectTag(effect.type);
        if (tag == 0)
            continue;
        writer << tag;
        WriteEffectFields(writer, effect);
    }
    writer << static_cast<int32_t>(RIXTAG_END);
}

void CRixModuleChannel::Load(nexilon::CInputStreamSelector& selector)
{
    nexilon::CVarReader reader(*selector.GetInputStreamTmp());
    nexilon::CString magic;
    reader >> magic;
    if (magic == kVersion2Magic)
        LoadVersion2(reader);
    else if (magic == kVersion3Magic)
        LoadVersion3(reader);
    else
        throw nexilon::CDataFormatException("rix::CRixModuleChannel::Load", kSource, __LINE__,
                                            "Invalid file format");
}

void CRixModuleChannel::LoadVersion3(nexilon::CVarReader& reader)
{
    constexpr const char* kFunction = "rix::CRixModuleChannel::LoadVersion3";
    CParallelListsGuard parallelLists(this, 1);
    bool oldTimeBase = true;
    int32_t tag = 0;
    reader >> tag;
    while (tag != RIXTAG_END) {
        switch (tag) {
        case RIXTAG_CURRENT_SPEED:
            oldTimeBase = false;
            break;
        case RIXTAG_CHANNEL: {
            int32_t newVolume = 0;
            reader >> newVolume;
            const TRixEnvelope newEnvelope = ReadEnvelope(reader, oldTimeBase);
            oscillators.clear();
            transitionOscillators.clear();
            effects.clear();
            volume = newVolume;
            envelope = newEnvelope;
            break;
        }
        case RIXTAG_OSCILLATOR:
            oscillators.push_back(ReadOscillatorFields(reader, true, oldTimeBase));
            break;
        case RIXTAG_TRANSITION_OSCILLATOR:
            transitionOscillators.push_back(ReadOscillatorFields(reader, false, oldTimeBase));
            break;
        default:
            // Records of module files only (1, 2, 3, 5, 12, 16) end up here too.
            if (!IsEffectTag(tag))
                ThrowInvalidData(kFunction, __LINE__);
            effects.push_back(ReadEffectFields(reader, tag, oldTimeBase));
            break;
        }
        reader >> tag;
    }
}

void CRixModuleChannel::LoadVersion2(nexilon::CVarReader& reader)
{
    constexpr const char* kFunction = "rix::CRixModuleChannel::LoadVersion2";
    const TRixVersion2Scale& scale = RIX_INSTRUMENT_VERSION2_SCALE;
    CParallelListsGuard parallelLists(this, 1);
    // The end record is required: input that runs out first fails in the reader.
    int32_t tag = 0;
    reader >> tag;
    while (tag != RIXV2_END) {
        switch (tag) {
        case RIXV2_CHANNEL: {
            float newVolume = 0;
            reader >> newVolume;
            const TRixEnvelope newEnvelope = ReadVersion2Envelope(reader, RIXLEVELS_FACTOR, scale);
            oscillators.clear();
            transitionOscillators.clear();
            effects.clear();
            volume = TruncateToInt32(static_cast<double>(newVolume) * 255.0 + 0.5);
            envelope = newEnvelope;
            break;
        }
        case RIXV2_DELAY:
            if (const auto delay = ReadVersion2Delay(reader))
                effects.push_back(*delay);
            break;
        case RIXV2_FLANGE:
            if (const auto flange = ReadVersion2Flange(reader, scale))
                effects.push_back(*flange);
            break;
        case RIXV2_OSCILLATOR:
            oscillators.push_back(ReadVersion2Oscillator(reader, scale));
            transitionOscillators.emplace_back();
            break;
        case RIXV2_UNUSED_A: {
            bool first = false;
            float second = 0;
            reader >> first >> second;
            break;
        }
        case RIXV2_UNUSED_B:
            SkipVersion2Record10(reader, scale);
            break;
        default:
            ThrowInvalidData(kFunction, __LINE__);
        }
        reader >> tag;
    }
}

} // namespace rix
