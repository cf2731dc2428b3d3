// The text blocks of CRixSongExporter. Every literal here is part of the
// exported file, trailing blanks included; the replay routine's tables and
// the RixSongDataTypes.h declarations depend on the exact layout.

#include "RixSongExporter.h"

#include "nexilon/TextWriter.h"

namespace rix {

namespace {

// Each block has a writer of its own on the shared stream: UTF-8, "\n" kept.
nexilon::CTextWriter BlockWriter(nexilon::IOutputStream& stream)
{
    return nexilon::CTextWriter(stream, nexilon::CHARFORMAT_UTF8, nexilon::LINEBREAK_LF);
}

const char* OscillatorTypeName(int32_t type)
{
    switch (type) {
    case RIXOSC_SINE:
        return "RIXSONGOSCTYPE_SINE";
    case RIXOSC_SAW:
        return "RIXSONGOSCTYPE_SAW";
    case RIXOSC_SQUARE:
        return "RIXSONGOSCTYPE_SQUARE";
    case RIXOSC_NOISE:
        return "RIXSONGOSCTYPE_NOISE";
    default:
        return nullptr;
    }
}

const char* EffectTypeName(int32_t type)
{
    static constexpr const char* kNames[CRixSongExporter::kExportedEffectTypes] = {
        "RIXSONGEFFECTTYPE_DELAY",     "RIXSONGEFFECTTYPE_FLANGE",   "RIXSONGEFFECTTYPE_LOWPASS",
        "RIXSONGEFFECTTYPE_HIGHPASS",  "RIXSONGEFFECTTYPE_RESONANCE", "RIXSONGEFFECTTYPE_OVERDRIVE",
    };
    return kNames[type];
}

// The replay routine restarts a pattern-timed envelope at order positions
// whose bits under the mask are all 0; 255 means the song never restarts it.
int32_t PatternResetMask(int32_t resetMode)
{
    switch (resetMode) {
    case RIXRESET_PATTERN:
        return 0;
    case RIXRESET_TWO_PATTERNS:
        return 1;
    case RIXRESET_FOUR_PATTERNS:
        return 3;
    default:
        return 255;
    }
}

// Unsigned 32-bit results are written with %d, i.e. as their signed bits.
int32_t AsSigned(uint32_t value)
{
    return static_cast<int32_t>(value);
}

} // namespace

void CRixSongExporter::WriteDefines()
{
    nexilon::CTextWriter writer = BlockWriter(*stream);
    writer.Write("// Defines - move these lines into RixSongDataDefines.h\n");
    writer.Write("#ifndef RIXSONGDATADEFINES_H\n");
    writer.Write("#define RIXSONGDATADEFINES_H\n");
    writer.Write("#define RIXSONG_LEN 0x%X\n", static_cast<unsigned>(songLength));
    writer.Write("#define RIXSONG_ROWLENSAMPLES %d\n", rowLength);
    writer.Write("#define RIXSONG_ENVLISTSIZE %d\n", static_cast<int>(shapeList.size()));
    writer.Write("#define RIXSONG_ENVCOUNTERLISTSIZE %d\n", static_cast<int>(counterList.size()));
    writer.Write("#define RIXSONG_OSCLISTSIZE %d\n", oscillatorCount);
    writer.Write("#define RIXSONG_EFFECTLISTSIZE %d\n", effectCount);
    writer.Write("#define RIXSONG_VOL %d\n", moduleData->masterVolume);
    static constexpr const char* kEnableDefines[kExportedEffectTypes] = {
        "#define RIXSONG_ENABLE_DELAYEFFECT\n",    "#define RIXSONG_ENABLE_FLANGEEFFECT\n",
        "#define RIXSONG_ENABLE_LOWPASSEFFECT\n",  "#define RIXSONG_ENABLE_HIGHPASSEFFECT\n",
        "#define RIXSONG_ENABLE_RESONANCEEFFECT\n", "#define RIXSONG_ENABLE_OVERDRIVEEFFECT\n",
    };
    for (int type = 0; type < kExportedEffectTypes; ++type)
        writer.Write("%s%s", effectTypeUsed[type] ? "" : "//", kEnableDefines[type]);
    writer.Write("#endif\n\n");
    writer.Close();
}

void CRixSongExporter::WriteOrderTable()
{
    // One entry per position: channel 1's pattern in the lowest hex digit,
    // channel 8's in the highest. Entries above 15 play nothing and are 0.
    nexilon::CTextWriter writer = BlockWriter(*stream);
    writer.Write("unsigned int RixSongOrderTable[] = { \n  ");
    for (int position = 0; position < songLength; ++position) {
        if (position > 0 && position % 8 == 0)
            writer.Write("\n  ");
        writer.Write("0x");
        for (int c = RIX_CHANNELS - 1; c >= 0; --c) {
            const uint32_t p = moduleData->orderTable[c][position];
            writer.Write("%X", p < static_cast<uint32_t>(RIX_PATTERNS) ? p : 0u);
        }
        writer.Write(", ");
    }
    writer.Write("\n};\n\n");
    writer.Close();
}

void CRixSongExporter::WritePatterns()
{
    int maxPattern[RIX_CHANNELS] = {};
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        for (int p = 1; p < RIX_PATTERNS; ++p) {
            if (patternUsed[c][p])
                maxPattern[c] = p;
        }
    }
    nexilon::CTextWriter writer = BlockWriter(*stream);
    writer.Write("unsigned char RixSongPatternData[] = {\n");
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        writer.Write("// channel %d\n", c + 1);
        for (int p = 1; p <= maxPattern[c]; ++p) {
            writer.Write("  ");
            for (int row = 0; row < RIX_ROWS; ++row) {
                const auto v = static_cast<int32_t>(moduleData->patterns[c][p][row]);
                // A note byte holds the octave in its high and the semitone in
                // its low four bits; notes above octave 15 do not fit and are
                // left out like empty rows.
                if (!patternUsed[c][p] || v == 0 || (v > 192 && v < 255))
                    writer.Write("0,    ");
                else if (v < 0 || v >= 255)
                    writer.Write("255,  ");
                else
                    writer.Write("0x%X%X, ", static_cast<unsigned>((v - 1) / 12), static_cast<unsigned>((v - 1) % 12));
            }
            writer.Write("\n");
        }
    }
    writer.Write("};\n\n");
    writer.Write("unsigned char RixSongPatternLookupTable[] = { ");
    int patternsBefore = 0;
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        writer.Write("%d, ", patternsBefore);
        patternsBefore += maxPattern[c];
    }
    writer.Write("};\n\n");
    writer.Close();
}

void CRixSongExporter::WriteEnvelopes()
{
    nexilon::CTextWriter writer = BlockWriter(*stream);
    writer.Write("TRixSongEnvelope RixSongEnvList[] = { \n");
    for (const TRixEnvelope* envelope : shapeList) {
        writer.Write("  { %d, %d, %d, %d, %d, %d, %s, %d, }, \n", envelope->minValue, envelope->maxValue,
                     envelope->speed, envelope->phase / 2048, envelope->keepEnabled ? envelope->keep / 2048 : 255,
                     envelope->sustainEnabled ? envelope->sustain / 2048 : 255,
                     envelope->resetMode == RIXRESET_NOTE ? "true" : "false", PatternResetMask(envelope->resetMode));
    }
    writer.Write("};\n\n");
    writer.Close();
}

void CRixSongExporter::WriteCounters()
{
    nexilon::CTextWriter writer = BlockWriter(*stream);
    writer.Write("TRixSongEnvelopeCounter RixSongEnvCounterList[] = {\n ");
    for (std::size_t i = 0; i < counterList.size(); ++i) {
        if (i > 0 && i % 4 == 0)
            writer.Write("\n  ");
        const TRixEnvelope& envelope = *counterList[i];
        writer.Write("{ %d, %d, %d }, ", ShapeIndexOf(envelope), IsConstant(envelope) ? -1 : ChannelOf(envelope),
                     InitialValue(envelope));
    }
    writer.Write("\n};\n\n");
    writer.Close();
}

void CRixSongExporter::WriteOscillators()
{
    nexilon::CTextWriter writer = BlockWriter(*stream);
    writer.Write("TRixSongOscillator RixSongOscillatorList[] = {\n");
    const auto writeRow = [&](const TRixOscillator& oscillator, int channel, int source) {
        const char* typeName = OscillatorTypeName(oscillator.type);
        // A waveform the replay routine does not know keeps its number, so
        // it stays silent there as in the player.
        if (typeName)
            writer.Write("  { %d, %d, %s, ", PitchOctave(oscillator.pitch), PitchFine(oscillator.pitch), typeName);
        else
            writer.Write("  { %d, %d, %d, ", PitchOctave(oscillator.pitch), PitchFine(oscillator.pitch),
                         oscillator.type);
        writer.Write("%d, %d, %d, %d, %d }, \n", channel, source, oscillator.volume,
                     CounterIndexOf(oscillator.volumeEnvelope), CounterIndexOf(oscillator.transitionEnvelope));
    };
    int position = 0;
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        const CRixModuleChannel& channel = moduleData->channels[c];
        const int first = position;
        for (const TRixOscillator& oscillator : channel.oscillators) {
            writeRow(oscillator, c, -1);
            ++position;
        }
        for (std::size_t i = 0; i < channel.oscillators.size(); ++i) {
            if (!channel.oscillators[i].transition || i >= channel.transitionOscillators.size())
                continue;
            writeRow(channel.transitionOscillators[i], c, first + static_cast<int>(i));
            ++position;
        }
    }
    writer.Write("\n};\n\n");
    writer.Close();
}

void CRixSongExporter::WriteEffects()
{
    nexilon::CTextWriter writer = BlockWriter(*stream);
    writer.Write("TRixSongEffect RixSongEffectList[] = {\n");
    const uint32_t rowSamples = static_cast<uint32_t>(rowLength);
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        if (!channelUsed[c])
            continue;
        for (const TRixEffect& effect : moduleData->channels[c].effects) {
            if (effect.type < 0 || effect.type >= kExportedEffectTypes)
                continue;
            const auto param1 = static_cast<uint32_t>(effect.param1);
            const auto param2 = static_cast<uint32_t>(effect.param2);
            int32_t fields[7] = {0, 0, 1, c, 0, 0, 0};
            switch (effect.type) {
            case RIXEFFECT_DELAY:
                fields[0] = effect.param2;
                fields[2] = AsSigned(rowSamples * param1 / 100u);
                break;
            case RIXEFFECT_FLANGE:
                // The largest delay the envelope reaches, plus 1.
                fields[2] = AsSigned(static_cast<uint32_t>(effect.envelope1.maxValue) + 1u);
                fields[5] = CounterIndexOf(effect.envelope1);
                break;
            case RIXEFFECT_LOWPASS:
            case RIXEFFECT_HIGHPASS:
                fields[0] = effect.param1;
                fields[5] = CounterIndexOf(effect.envelope1);
                break;
            case RIXEFFECT_RESONANCE:
                fields[0] = effect.param1;
                fields[1] = effect.param2;
                fields[5] = CounterIndexOf(effect.envelope1);
                fields[6] = CounterIndexOf(effect.envelope2);
                break;
            case RIXEFFECT_OVERDRIVE: {
                // A zero threshold divides by 1, as the player does.
                const uint32_t threshold = param1 * 127u;
                fields[0] = AsSigned(threshold);
                fields[1] = AsSigned(param2 * 32767u / (threshold == 0 ? 1u : threshold));
                fields[6] = CounterIndexOf(effect.envelope1);
                break;
            }
            default:
                break;
            }
            writer.Write("  { %d, %d, %d, %d, %s, %d, %d }, \n", fields[0], fields[1], fields[2], fields[3],
                         EffectTypeName(effect.type), fields[5], fields[6]);
        }
    }
    writer.Write("\n};\n\n");
    writer.Close();
}

void CRixSongExporter::WriteChannels()
{
    nexilon::CTextWriter writer = BlockWriter(*stream);
    writer.Write("unsigned char RixSongChannelVol[8] = {");
    for (int c = 0; c < RIX_CHANNELS; ++c)
        writer.Write(c == 0 ? "%d" : ", %d", moduleData->channels[c].volume);
    writer.Write(" };\n");
    writer.Write("unsigned char RixSongChannelEnvCounter[8] = {");
    for (int c = 0; c < RIX_CHANNELS; ++c)
        writer.Write(c == 0 ? "%d" : ", %d", CounterIndexOf(moduleData->channels[c].envelope));
    writer.Write(" };\n");
    writer.Write("bool RixSongChannelStopNote[8] = {");
    for (int c = 0; c < RIX_CHANNELS; ++c)
        writer.Write(c == 0 ? "%s" : ", %s", moduleData->channels[c].envelope.sustainEnabled ? "false" : "true");
    writer.Write(" };\n");
    writer.Write("\n");
    writer.Close();
}

} // namespace rix
