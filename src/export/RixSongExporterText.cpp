// The text blocks of CRixSongExporter, printed from the built tables. Every
// literal here is part of the exported file, trailing blanks included; the
// replay routine and the RixSongDataTypes.h declarations depend on the
// exact layout.

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
    static constexpr const char* kNames[TRixSongTables::kEffectTypes] = {
        "RIXSONGEFFECTTYPE_DELAY",     "RIXSONGEFFECTTYPE_FLANGE",   "RIXSONGEFFECTTYPE_LOWPASS",
        "RIXSONGEFFECTTYPE_HIGHPASS",  "RIXSONGEFFECTTYPE_RESONANCE", "RIXSONGEFFECTTYPE_OVERDRIVE",
    };
    return kNames[type];
}

void WriteDefines(const TRixSongTables& tables, nexilon::IOutputStream& stream)
{
    nexilon::CTextWriter writer = BlockWriter(stream);
    writer.Write("// Defines - move these lines into RixSongDataDefines.h\n");
    writer.Write("#ifndef RIXSONGDATADEFINES_H\n");
    writer.Write("#define RIXSONGDATADEFINES_H\n");
    writer.Write("#define RIXSONG_LEN 0x%X\n", static_cast<unsigned>(tables.songLength));
    writer.Write("#define RIXSONG_ROWLENSAMPLES %d\n", tables.rowLength);
    writer.Write("#define RIXSONG_ENVLISTSIZE %d\n", static_cast<int>(tables.envelopes.size()));
    writer.Write("#define RIXSONG_ENVCOUNTERLISTSIZE %d\n", static_cast<int>(tables.counters.size()));
    writer.Write("#define RIXSONG_OSCLISTSIZE %d\n", static_cast<int>(tables.oscillators.size()));
    writer.Write("#define RIXSONG_EFFECTLISTSIZE %d\n", static_cast<int>(tables.effects.size()));
    writer.Write("#define RIXSONG_VOL %d\n", tables.masterVolume);
    static constexpr const char* kEnableDefines[TRixSongTables::kEffectTypes] = {
        "#define RIXSONG_ENABLE_DELAYEFFECT\n",    "#define RIXSONG_ENABLE_FLANGEEFFECT\n",
        "#define RIXSONG_ENABLE_LOWPASSEFFECT\n",  "#define RIXSONG_ENABLE_HIGHPASSEFFECT\n",
        "#define RIXSONG_ENABLE_RESONANCEEFFECT\n", "#define RIXSONG_ENABLE_OVERDRIVEEFFECT\n",
    };
    for (int type = 0; type < TRixSongTables::kEffectTypes; ++type)
        writer.Write("%s%s", tables.effectTypeUsed[type] ? "" : "//", kEnableDefines[type]);
    if (tables.exact) {
        writer.Write("#define RIXSONG_EXACT\n");
        writer.Write("#define RIXSONG_HISTORYSIZE %llu\n", static_cast<unsigned long long>(tables.HistoryInts()));
    }
    if (tables.wideChannels)
        writer.Write("#define RIXSONG_WIDE_CHANNELS\n");
    writer.Write("#endif\n\n");
    writer.Close();
}

void WriteOrderTable(const TRixSongTables& tables, nexilon::IOutputStream& stream)
{
    nexilon::CTextWriter writer = BlockWriter(stream);
    writer.Write("unsigned int RixSongOrderTable[] = { \n  ");
    for (std::size_t position = 0; position < tables.orderTable.size(); ++position) {
        if (position > 0 && position % 8 == 0)
            writer.Write("\n  ");
        // One hex digit per channel, channel 8 first.
        writer.Write("0x%08X, ", tables.orderTable[position]);
    }
    writer.Write("\n};\n\n");
    writer.Close();
}

void WritePatterns(const TRixSongTables& tables, nexilon::IOutputStream& stream)
{
    nexilon::CTextWriter writer = BlockWriter(stream);
    writer.Write("unsigned char RixSongPatternData[] = {\n");
    std::size_t cell = 0;
    for (int c = 0; c < 8; ++c) {
        writer.Write("// channel %d\n", c + 1);
        for (int p = 0; p < tables.PatternCount(c); ++p) {
            writer.Write("  ");
            for (int row = 0; row < 16; ++row, ++cell) {
                const unsigned value = tables.patternData[cell];
                if (tables.patternIsNote[cell])
                    writer.Write("0x%X%X, ", value >> 4, value & 15u);
                else
                    writer.Write("%s", value == 255 ? "255,  " : "0,    ");
            }
            writer.Write("\n");
        }
    }
    writer.Write("};\n\n");
    writer.Write("unsigned char RixSongPatternLookupTable[] = { ");
    for (int c = 0; c < 8; ++c)
        writer.Write("%d, ", static_cast<int>(tables.patternLookup[c]));
    writer.Write("};\n\n");
    writer.Close();
}

void WriteEnvelopes(const TRixSongTables& tables, nexilon::IOutputStream& stream)
{
    nexilon::CTextWriter writer = BlockWriter(stream);
    writer.Write("TRixSongEnvelope RixSongEnvList[] = { \n");
    for (const TRixSongEnvelope& e : tables.envelopes) {
        writer.Write("  { %d, %d, %d, %d, %d, %d, %s, %d, }, \n", e.minValue, e.maxValue, e.speed, e.phase, e.keep,
                     e.sustain, e.resetOnNote ? "true" : "false", e.patternResetMask);
    }
    writer.Write("};\n\n");
    writer.Close();
}

void WriteCounters(const TRixSongTables& tables, nexilon::IOutputStream& stream)
{
    nexilon::CTextWriter writer = BlockWriter(stream);
    writer.Write("TRixSongEnvelopeCounter RixSongEnvCounterList[] = {\n ");
    for (std::size_t i = 0; i < tables.counters.size(); ++i) {
        if (i > 0 && i % 4 == 0)
            writer.Write("\n  ");
        const TRixSongEnvelopeCounter& counter = tables.counters[i];
        writer.Write("{ %d, %d, %d }, ", counter.shape, counter.channel, counter.value);
    }
    writer.Write("\n};\n\n");
    writer.Close();
}

void WriteOscillators(const TRixSongTables& tables, nexilon::IOutputStream& stream)
{
    nexilon::CTextWriter writer = BlockWriter(stream);
    writer.Write("TRixSongOscillator RixSongOscillatorList[] = {\n");
    for (const TRixSongOscillator& o : tables.oscillators) {
        const char* typeName = OscillatorTypeName(o.type);
        // A waveform the replay routine does not know keeps its number, so
        // it stays silent there as in the player.
        if (typeName)
            writer.Write("  { %d, %d, %s, ", o.octave, o.fine, typeName);
        else
            writer.Write("  { %d, %d, %d, ", o.octave, o.fine, o.type);
        writer.Write("%d, %d, %d, %d, %d }, \n", o.channel, o.source, o.volume, o.volumeCounter, o.transitionCounter);
    }
    writer.Write("\n};\n\n");
    writer.Close();
}

void WriteEffects(const TRixSongTables& tables, nexilon::IOutputStream& stream)
{
    nexilon::CTextWriter writer = BlockWriter(stream);
    writer.Write("TRixSongEffect RixSongEffectList[] = {\n");
    for (const TRixSongEffect& e : tables.effects) {
        writer.Write("  { %d, %d, %d, %d, %s, %d, %d }, \n", e.param1, e.param2, e.length, e.channel,
                     EffectTypeName(e.type), e.counter1, e.counter2);
    }
    writer.Write("\n};\n\n");
    writer.Close();
}

void WriteChannels(const TRixSongTables& tables, nexilon::IOutputStream& stream)
{
    nexilon::CTextWriter writer = BlockWriter(stream);
    const char* type = tables.wideChannels ? "int" : "unsigned char";
    writer.Write("%s RixSongChannelVol[8] = {", type);
    for (int c = 0; c < 8; ++c)
        writer.Write(c == 0 ? "%d" : ", %d", tables.channelVolume[c]);
    writer.Write(" };\n");
    writer.Write("%s RixSongChannelEnvCounter[8] = {", type);
    for (int c = 0; c < 8; ++c)
        writer.Write(c == 0 ? "%d" : ", %d", tables.channelEnvelopeCounter[c]);
    writer.Write(" };\n");
    writer.Write("bool RixSongChannelStopNote[8] = {");
    for (int c = 0; c < 8; ++c)
        writer.Write(c == 0 ? "%s" : ", %s", tables.channelStopNote[c] ? "true" : "false");
    writer.Write(" };\n");
    writer.Write("\n");
    writer.Close();
}

} // namespace

void CRixSongExporter::Write(const TRixSongTables& tables, nexilon::IOutputStream& stream)
{
    WriteDefines(tables, stream);
    // The header writer outlives the table writers and closes the text; each
    // write reaches the stream at once, so the order of calls is the order
    // of the text whichever writer makes them.
    nexilon::CTextWriter header(stream, nexilon::CHARFORMAT_UTF8, nexilon::LINEBREAK_LF);
    header.Write("// Exported song data\n\n#include \"RixSongDataTypes.h\"\n\n");
    header.Write("#define NULL 0\n\n");
    WriteOrderTable(tables, stream);
    WritePatterns(tables, stream);
    WriteEnvelopes(tables, stream);
    WriteCounters(tables, stream);
    WriteOscillators(tables, stream);
    WriteEffects(tables, stream);
    WriteChannels(tables, stream);
    header.Write("// End\n");
    header.Close();
}

} // namespace rix
