#include "SongJson.h"

#include <initializer_list>
#include <iterator>
#include <utility>

namespace cli {

namespace {

// An object on one line: {"key": value, ...}.
std::string Object(std::initializer_list<std::pair<const char*, std::string>> members)
{
    std::string out = "{";
    for (const auto& [key, value] : members) {
        if (out.size() > 1)
            out += ", ";
        out.append("\"").append(key).append("\": ").append(value);
    }
    return out + "}";
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
    return Object({{"minValue", Number(envelope.minValue)},
                   {"maxValue", Number(envelope.maxValue)},
                   {"speed", Number(envelope.speed)},
                   {"resetMode", Number(envelope.resetMode)},
                   {"phase", Number(envelope.phase)},
                   {"keep", Number(envelope.keep)},
                   {"sustain", Number(envelope.sustain)},
                   {"keepEnabled", Flag(envelope.keepEnabled)},
                   {"sustainEnabled", Flag(envelope.sustainEnabled)}});
}

std::string OscillatorJson(const rix::TRixOscillator& oscillator)
{
    return Object({{"type", Number(oscillator.type)},
                   {"volume", Number(oscillator.volume)},
                   {"pitch", Number(oscillator.pitch)},
                   {"volumeEnvelope", EnvelopeJson(oscillator.volumeEnvelope)},
                   {"transitionEnvelope", EnvelopeJson(oscillator.transitionEnvelope)},
                   {"transition", Flag(oscillator.transition)}});
}

std::string EffectJson(const rix::TRixEffect& effect)
{
    return Object({{"type", Number(effect.type)},
                   {"envelope1", EnvelopeJson(effect.envelope1)},
                   {"envelope2", EnvelopeJson(effect.envelope2)},
                   {"param1", Number(effect.param1)},
                   {"param2", Number(effect.param2)}});
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
