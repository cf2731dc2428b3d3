#pragma once

#include <memory>
#include <string>

#include "RixModuleData.h"
#include "RixSongExporter.h"
#include "nexilon/MemoryStream.h"

namespace rix::test {

inline std::string ExportText(const CRixModuleData& data)
{
    nexilon::CPtr<nexilon::IMemoryOutputStream> stream = nexilon::CreateMemoryOutputStream();
    CRixSongExporter().Export(data, *stream);
    return stream->GetBytes();
}

// The block of the export that starts with the given opening text, up to
// and including the "};\n" that closes it (plus the blank line after it).
inline std::string Block(const std::string& text, const std::string& opening)
{
    const std::size_t start = text.find(opening);
    if (start == std::string::npos)
        return "<no block " + opening + ">";
    const std::size_t end = text.find("};\n", start);
    if (end == std::string::npos)
        return text.substr(start);
    std::size_t stop = end + 3;
    if (stop < text.size() && text[stop] == '\n')
        ++stop;
    return text.substr(start, stop - start);
}

// A non-constant envelope (no keep point) with a recognisable minimum.
inline TRixEnvelope Running(int32_t minValue)
{
    return {minValue, 256, 65, RIXRESET_NOTE, 16384, 0, 0, false, false};
}

// A song that uses every kind of table entry: three played channels with
// patterns, transition oscillators, every exported effect kind and a
// Band-pass, plus an unused channel with an effect and a transition.
inline std::unique_ptr<CRixModuleData> FeatureRichSong()
{
    auto data = std::make_unique<CRixModuleData>();
    data->bpm = 125;
    data->masterVolume = 180;
    for (uint32_t position = 0; position < 10; ++position) {
        data->orderTable[0][position] = 1 + position % 3;
        data->orderTable[1][position] = position % 2 ? 2 : 0;
        data->orderTable[3][position] = 15;
    }
    for (uint32_t row = 0; row < 16; row += 2) {
        data->patterns[0][1][row] = 1 + row * 7;
        data->patterns[0][3][row] = 255;
        data->patterns[1][2][row] = 58;
        data->patterns[3][15][row] = 113;
    }
    CRixModuleChannel& lead = data->channels[0];
    lead.AddOscillator();
    lead.oscillators[1] = {RIXOSC_SAW, 80, -1200, Running(10), TRixEnvelope::Default(), true};
    lead.transitionOscillators[1] = {RIXOSC_SQUARE, 60, 600, Running(10), Running(20), false};
    lead.effects = {TRixEffect::OfType(RIXEFFECT_DELAY), TRixEffect::OfType(RIXEFFECT_FLANGE),
                    TRixEffect::OfType(RIXEFFECT_LOWPASS), TRixEffect::OfType(RIXEFFECT_BANDPASS)};
    CRixModuleChannel& bass = data->channels[1];
    bass.volume = 200;
    bass.oscillators[0].type = RIXOSC_NOISE;
    bass.effects = {TRixEffect::OfType(RIXEFFECT_HIGHPASS), TRixEffect::OfType(RIXEFFECT_RESONANCE),
                    TRixEffect::OfType(RIXEFFECT_OVERDRIVE)};
    bass.effects[2].envelope1 = Running(30);
    data->channels[2].effects = {TRixEffect::OfType(RIXEFFECT_RESONANCE)};
    data->channels[2].oscillators[0].transition = true;
    data->channels[3].envelope.sustainEnabled = false;
    return data;
}

} // namespace rix::test
