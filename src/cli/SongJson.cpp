#include "SongJson.h"

#include <iterator>

namespace cli {

namespace {

void AppendMember(std::string& out, const char* key, const std::string& value, bool last = false)
{
    out += '"';
    out += key;
    out += "\": ";
    out += value;
    if (!last)
        out += ", ";
}

std::string Number(int32_t value)
{
    return std::to_string(value);
}

std::string Flag(bool value)
{
    return value ? "true" : "false";
}

std::string EnvelopeJson(const rix::TRixEnvelope& envelope)
{
    std::string out = "{";
    AppendMember(out, "minValue", Number(envelope.minValue));
    AppendMember(out, "maxValue", Number(envelope.maxValue));
    AppendMember(out, "speed", Number(envelope.speed));
    AppendMember(out, "resetMode", Number(envelope.resetMode));
    AppendMember(out, "phase", Number(envelope.phase));
    AppendMember(out, "keep", Number(envelope.keep));
    AppendMember(out, "sustain", Number(envelope.sustain));
    AppendMember(out, "keepEnabled", Flag(envelope.keepEnabled));
    AppendMember(out, "sustainEnabled", Flag(envelope.sustainEnabled), true);
    return out + "}";
}

std::string OscillatorJson(const rix::TRixOscillator& oscillator)
{
    std::string out = "{";
    AppendMember(out, "type", Number(oscillator.type));
    AppendMember(out, "volume", Number(oscillator.volume));
    AppendMember(out, "pitch", Number(oscillator.pitch));
    AppendMember(out, "volumeEnvelope", EnvelopeJson(oscillator.volumeEnvelope));
    AppendMember(out, "transitionEnvelope", EnvelopeJson(oscillator.transitionEnvelope));
    AppendMember(out, "transition", Flag(oscillator.transition), true);
    return out + "}";
}

std::string EffectJson(const rix::TRixEffect& effect)
{
    std::string out = "{";
    AppendMember(out, "type", Number(effect.type));
    AppendMember(out, "envelope1", EnvelopeJson(effect.envelope1));
    AppendMember(out, "envelope2", EnvelopeJson(effect.envelope2));
    AppendMember(out, "param1", Number(effect.param1));
    AppendMember(out, "param2", Number(effect.param2), true);
    return out + "}";
}

// A list with one element per line at the given indentation; "[]" when empty.
template <class TList, class TFormat>
std::string ListJson(const TList& items, const std::string& indent, TFormat format)
{
    if (std::empty(items))
        return "[]";
    std::string out = "[\n";
    bool first = true;
    for (const auto& item : items) {
        if (!first)
            out += ",\n";
        first = false;
        out += indent + "  " + format(item);
    }
    return out + "\n" + indent + "]";
}

std::string RowJson(const uint32_t* values, int count)
{
    std::string out = "[";
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            out += ", ";
        out += std::to_string(values[i]);
    }
    return out + "]";
}

std::string ChannelJsonAt(const rix::CRixModuleChannel& channel, const std::string& indent)
{
    const std::string inner = indent + "  ";
    std::string out = "{\n";
    out += inner + "\"volume\": " + Number(channel.volume) + ",\n";
    out += inner + "\"envelope\": " + EnvelopeJson(channel.envelope) + ",\n";
    out += inner + "\"oscillators\": " + ListJson(channel.oscillators, inner, OscillatorJson) + ",\n";
    out += inner + "\"transitionOscillators\": " + ListJson(channel.transitionOscillators, inner, OscillatorJson) +
           ",\n";
    out += inner + "\"effects\": " + ListJson(channel.effects, inner, EffectJson) + "\n";
    return out + indent + "}";
}

} // namespace

std::string ModuleJson(const rix::CRixModuleData& data)
{
    std::string out = "{\n";
    out += "  \"bpm\": " + Number(data.bpm) + ",\n";
    out += "  \"masterVolume\": " + Number(data.masterVolume) + ",\n";
    out += "  \"orderTable\": " +
           ListJson(data.orderTable, "  ", [](const auto& table) { return RowJson(table, rix::RIX_ORDER_POSITIONS); }) +
           ",\n";
    out += "  \"patterns\": " + ListJson(data.patterns, "  ", [](const auto& channelPatterns) {
               return ListJson(channelPatterns, "    ",
                               [](const auto& pattern) { return RowJson(pattern, rix::RIX_ROWS); });
           }) + ",\n";
    out += "  \"channels\": " +
           ListJson(data.channels, "  ", [](const auto& channel) { return ChannelJsonAt(channel, "    "); }) + "\n";
    return out + "}\n";
}

std::string InstrumentJson(const rix::CRixModuleChannel& channel)
{
    return ChannelJsonAt(channel, "") + "\n";
}

} // namespace cli
