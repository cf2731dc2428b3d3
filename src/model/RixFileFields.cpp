#include "RixFileFields.h"

#include "nexilon/VarReader.h"
#include "nexilon/VarWriter.h"

namespace rix {

int32_t ConvertOldSpeed(int32_t stored)
{
    return TruncateToInt32(static_cast<double>(stored) * 44.0 / 441.0);
}

void WriteEnvelope(nexilon::CVarWriter& writer, const TRixEnvelope& envelope)
{
    writer << envelope.minValue << envelope.maxValue << envelope.speed << envelope.resetMode << envelope.phase
           << envelope.keep << envelope.sustain << envelope.keepEnabled << envelope.sustainEnabled;
}

TRixEnvelope ReadEnvelope(nexilon::CVarReader& reader, bool oldTimeBase)
{
    TRixEnvelope envelope;
    reader >> envelope.minValue >> envelope.maxValue >> envelope.speed >> envelope.resetMode >> envelope.phase >>
        envelope.keep >> envelope.sustain >> envelope.keepEnabled >> envelope.sustainEnabled;
    if (oldTimeBase)
        envelope.speed = ConvertOldSpeed(envelope.speed);
    return envelope;
}

void WriteOscillatorFields(nexilon::CVarWriter& writer, const TRixOscillator& oscillator, bool withTransition)
{
    writer << oscillator.type << oscillator.volume << oscillator.pitch;
    if (withTransition)
        writer << oscillator.transition;
    WriteEnvelope(writer, oscillator.volumeEnvelope);
    WriteEnvelope(writer, oscillator.transitionEnvelope);
}

TRixOscillator ReadOscillatorFields(nexilon::CVarReader& reader, bool withTransition, bool oldTimeBase)
{
    TRixOscillator oscillator;
    reader >> oscillator.type >> oscillator.volume >> oscillator.pitch;
    if (withTransition)
        reader >> oscillator.transition;
    oscillator.volumeEnvelope = ReadEnvelope(reader, oldTimeBase);
    oscillator.transitionEnvelope = ReadEnvelope(reader, oldTimeBase);
    return oscillator;
}

int32_t EffectTag(int32_t type)
{
    switch (type) {
    case RIXEFFECT_DELAY:
        return RIXTAG_DELAY;
    case RIXEFFECT_FLANGE:
        return RIXTAG_FLANGE;
    case RIXEFFECT_LOWPASS:
        return RIXTAG_LOWPASS;
    case RIXEFFECT_HIGHPASS:
        return RIXTAG_HIGHPASS;
    case RIXEFFECT_RESONANCE:
        return RIXTAG_RESONANCE;
    case RIXEFFECT_OVERDRIVE:
        return RIXTAG_OVERDRIVE;
    case RIXEFFECT_BANDPASS:
        return RIXTAG_BANDPASS;
    default:
        return 0;
    }
}

void WriteEffectFields(nexilon::CVarWriter& writer, const TRixEffect& effect)
{
    switch (effect.type) {
    case RIXEFFECT_DELAY:
        writer << effect.param1 << effect.param2;
        break;
    case RIXEFFECT_FLANGE:
        WriteEnvelope(writer, effect.envelope1);
        break;
    case RIXEFFECT_LOWPASS:
    case RIXEFFECT_HIGHPASS:
        writer << effect.param1;
        WriteEnvelope(writer, effect.envelope1);
        break;
    case RIXEFFECT_RESONANCE:
    case RIXEFFECT_BANDPASS:
        writer << effect.param1 << effect.param2;
        WriteEnvelope(writer, effect.envelope1);
        WriteEnvelope(writer, effect.envelope2);
        break;
    case RIXEFFECT_OVERDRIVE:
        writer << static_cast<uint32_t>(effect.param1) << static_cast<uint32_t>(effect.param2);
        WriteEnvelope(writer, effect.envelope1);
        break;
    default:
        break;
    }
}

bool IsEffectTag(int32_t tag)
{
    switch (tag) {
    case RIXTAG_DELAY:
    case RIXTAG_FLANGE:
    case RIXTAG_LOWPASS:
    case RIXTAG_HIGHPASS:
    case RIXTAG_OVERDRIVE_PLAIN:
    case RIXTAG_BANDPASS:
    case RIXTAG_RESONANCE:
    case RIXTAG_OVERDRIVE:
        return true;
    default:
        return false;
    }
}

namespace {

// Overdrive's parameters are unsigned in files; the model keeps their bits.
int32_t ReadUnsignedParameter(nexilon::CVarReader& reader)
{
    uint32_t value = 0;
    reader >> value;
    return static_cast<int32_t>(value);
}

} // namespace

TRixEffect ReadEffectFields(nexilon::CVarReader& reader, int32_t tag, bool oldTimeBase)
{
    TRixEffect effect;
    switch (tag) {
    case RIXTAG_DELAY:
        effect.SetType(RIXEFFECT_DELAY);
        reader >> effect.param1 >> effect.param2;
        break;
    case RIXTAG_FLANGE:
        effect.SetType(RIXEFFECT_FLANGE);
        effect.envelope1 = ReadEnvelope(reader, oldTimeBase);
        break;
    case RIXTAG_LOWPASS:
    case RIXTAG_HIGHPASS:
        effect.SetType(tag == RIXTAG_LOWPASS ? RIXEFFECT_LOWPASS : RIXEFFECT_HIGHPASS);
        reader >> effect.param1;
        effect.envelope1 = ReadEnvelope(reader, oldTimeBase);
        break;
    case RIXTAG_RESONANCE:
    case RIXTAG_BANDPASS:
        effect.SetType(tag == RIXTAG_RESONANCE ? RIXEFFECT_RESONANCE : RIXEFFECT_BANDPASS);
        reader >> effect.param1 >> effect.param2;
        effect.envelope1 = ReadEnvelope(reader, oldTimeBase);
        effect.envelope2 = ReadEnvelope(reader, oldTimeBase);
        break;
    case RIXTAG_OVERDRIVE:
        effect.SetType(RIXEFFECT_OVERDRIVE);
        effect.param1 = ReadUnsignedParameter(reader);
        effect.param2 = ReadUnsignedParameter(reader);
        effect.envelope1 = ReadEnvelope(reader, oldTimeBase);
        break;
    case RIXTAG_OVERDRIVE_PLAIN:
        effect.SetType(RIXEFFECT_OVERDRIVE);
        effect.param1 = ReadUnsignedParameter(reader);
        effect.param2 = ReadUnsignedParameter(reader);
        break;
    default:
        break;
    }
    return effect;
}

void MatchTransitionOscillators(CRixModuleChannel& channel)
{
    channel.transitionOscillators.resize(channel.oscillators.size());
}

} // namespace rix
