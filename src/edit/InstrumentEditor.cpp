#include "InstrumentEditor.h"

#include <string>
#include <utility>

namespace rix {

namespace {

bool IsChannel(int32_t channel)
{
    return channel >= 0 && channel < RIX_CHANNELS;
}

std::ptrdiff_t Offset(std::size_t index)
{
    return static_cast<std::ptrdiff_t>(index);
}

// What param1 and param2 of each effect type stand for, by type.
struct TEffectNames {
    const char* type;
    const char* param1;
    const char* param2;
};
constexpr TEffectNames kEffectNames[] = {
    {"Delay", "Length", "Volume"},     {"Flange", "Parameter 1", "Parameter 2"},
    {"Low-pass", "Frequency", "Parameter 2"}, {"High-pass", "Frequency", "Parameter 2"},
    {"Resonance", "Cutoff", "Amount"}, {"Overdrive", "Limit", "Volume"},
    {"Band-pass", "Frequency", "Width"},
};

std::string EffectParameterName(int32_t type, int field)
{
    if (type < 0 || type >= static_cast<int32_t>(std::size(kEffectNames)))
        return "Effect Setting";
    const TEffectNames& names = kEffectNames[type];
    return std::string(names.type) + " " + (field == 2 ? names.param2 : names.param1);
}

} // namespace

const TRixEnvelope* TEnvelopeAddress::In(const CRixModuleData& song) const
{
    if (!IsChannel(channel))
        return nullptr;
    const CRixModuleChannel& instrument = song.channels[channel];
    switch (list) {
    case CHANNEL:
        return &instrument.envelope;
    case OSCILLATORS:
    case TRANSITION_OSCILLATORS: {
        auto& oscillators = list == OSCILLATORS ? instrument.oscillators : instrument.transitionOscillators;
        if (index >= oscillators.size() || which < 0 || which > 1)
            return nullptr;
        return which == 1 ? &oscillators[index].transitionEnvelope : &oscillators[index].volumeEnvelope;
    }
    case EFFECTS:
        if (index >= instrument.effects.size() || which < 1 || which > 2)
            return nullptr;
        return which == 2 ? &instrument.effects[index].envelope2 : &instrument.effects[index].envelope1;
    }
    return nullptr;
}

CInstrumentEditor::CInstrumentEditor(CSongEditor& editor) : editor(editor) {}

CRixModuleChannel CInstrumentEditor::ReadChannel(int32_t channel) const
{
    if (!IsChannel(channel))
        return {};
    return editor.Read([channel](const CRixModuleData& song) { return song.channels[channel]; });
}

std::optional<TRixEnvelope> CInstrumentEditor::ReadEnvelope(const TEnvelopeAddress& address) const
{
    return editor.Read([&address](const CRixModuleData& song) -> std::optional<TRixEnvelope> {
        if (const TRixEnvelope* envelope = address.In(song))
            return *envelope;
        return std::nullopt;
    });
}

bool CInstrumentEditor::Edit(const std::string& name, int32_t channel, TEditStep step,
                             const std::function<bool(CRixModuleChannel&)>& change, nexilon::TLockMode mode)
{
    if (!IsChannel(channel))
        return false;
    return editor.Commit(name, mode, step,
                         [channel, &change](CRixModuleData& song) { return change(song.channels[channel]); });
}

bool CInstrumentEditor::AddOscillator(int32_t channel)
{
    return Edit("Add Oscillator", channel, TEditStep::New, [](CRixModuleChannel& instrument) {
        instrument.AddOscillator();
        return true;
    });
}

bool CInstrumentEditor::ClearOscillators(int32_t channel)
{
    return Edit("Delete Oscillators", channel, TEditStep::New, [](CRixModuleChannel& instrument) {
        instrument.oscillators.clear();
        instrument.transitionOscillators.clear();
        return true;
    });
}

bool CInstrumentEditor::RemoveOscillator(int32_t channel, std::size_t index)
{
    return Edit("Delete Oscillator", channel, TEditStep::New, [index](CRixModuleChannel& instrument) {
        instrument.RemoveOscillator(index);
        return true;
    });
}

bool CInstrumentEditor::SwapOscillators(int32_t channel, std::size_t index, std::size_t other)
{
    return Edit("Move Oscillator", channel, TEditStep::New, [index, other](CRixModuleChannel& instrument) {
        const std::size_t count = std::min(instrument.oscillators.size(), instrument.transitionOscillators.size());
        if (index >= count || other >= count)
            return false;
        std::swap(instrument.oscillators[index], instrument.oscillators[other]);
        std::swap(instrument.transitionOscillators[index], instrument.transitionOscillators[other]);
        return true;
    });
}

bool CInstrumentEditor::DuplicateOscillator(int32_t channel, std::size_t index)
{
    return Edit("Copy Oscillator", channel, TEditStep::New, [index](CRixModuleChannel& instrument) {
        if (index >= instrument.oscillators.size() || index >= instrument.transitionOscillators.size())
            return false;
        const TRixOscillator oscillator = instrument.oscillators[index];
        const TRixOscillator transition = instrument.transitionOscillators[index];
        instrument.InsertOscillator(index + 1, oscillator, transition);
        return true;
    });
}

bool CInstrumentEditor::ToggleTransition(int32_t channel, std::size_t index)
{
    return ChangeOscillator("Frequency Modulation", channel, {index, false}, TEditStep::New,
                            [](TRixOscillator& oscillator) { oscillator.transition = !oscillator.transition; });
}

bool CInstrumentEditor::TransposeAll(int32_t channel, int32_t cents)
{
    return Edit("Transpose", channel, TEditStep::New, [cents](CRixModuleChannel& instrument) {
        for (auto* list : {&instrument.oscillators, &instrument.transitionOscillators})
            for (TRixOscillator& oscillator : *list)
                oscillator.pitch = static_cast<int32_t>(static_cast<uint32_t>(oscillator.pitch) +
                                                        static_cast<uint32_t>(cents));
        return true;
    });
}

bool CInstrumentEditor::SetOscillatorType(int32_t channel, TOscillatorRef ref, int32_t type)
{
    return ChangeOscillator("Waveform", channel, ref, TEditStep::New,
                            [type](TRixOscillator& oscillator) { oscillator.type = type; });
}

bool CInstrumentEditor::SetOscillatorPitch(int32_t channel, TOscillatorRef ref, int32_t cents, TEditStep step)
{
    return ChangeOscillator("Pitch", channel, ref, step,
                            [cents](TRixOscillator& oscillator) { oscillator.pitch = cents; });
}

bool CInstrumentEditor::SetOscillatorVolume(int32_t channel, TOscillatorRef ref, int32_t volume, TEditStep step)
{
    return ChangeOscillator("Oscillator Volume", channel, ref, step,
                            [volume](TRixOscillator& oscillator) { oscillator.volume = volume; });
}

bool CInstrumentEditor::ChangeOscillator(const char* name, int32_t channel, TOscillatorRef ref, TEditStep step,
                                         const std::function<void(TRixOscillator&)>& change)
{
    return Edit(name, channel, step, [ref, &change](CRixModuleChannel& instrument) {
        auto& list = ref.transition ? instrument.transitionOscillators : instrument.oscillators;
        if (ref.index >= list.size())
            return false;
        change(list[ref.index]);
        return true;
    });
}

bool CInstrumentEditor::AddEffect(int32_t channel, int32_t type)
{
    return Edit("Add Effect", channel, TEditStep::New, [type](CRixModuleChannel& instrument) {
        instrument.effects.push_back(TRixEffect::OfType(type));
        return true;
    });
}

bool CInstrumentEditor::ClearEffects(int32_t channel)
{
    return Edit("Delete Effects", channel, TEditStep::New, [](CRixModuleChannel& instrument) {
        instrument.effects.clear();
        return true;
    });
}

bool CInstrumentEditor::RemoveEffect(int32_t channel, std::size_t index)
{
    return Edit("Delete Effect", channel, TEditStep::New, [index](CRixModuleChannel& instrument) {
        if (index >= instrument.effects.size())
            return false;
        instrument.effects.erase(instrument.effects.begin() + Offset(index));
        return true;
    });
}

bool CInstrumentEditor::SwapEffects(int32_t channel, std::size_t index, std::size_t other)
{
    return Edit("Move Effect", channel, TEditStep::New, [index, other](CRixModuleChannel& instrument) {
        if (index >= instrument.effects.size() || other >= instrument.effects.size())
            return false;
        std::swap(instrument.effects[index], instrument.effects[other]);
        return true;
    });
}

bool CInstrumentEditor::DuplicateEffect(int32_t channel, std::size_t index)
{
    return Edit("Copy Effect", channel, TEditStep::New, [index](CRixModuleChannel& instrument) {
        if (index >= instrument.effects.size())
            return false;
        const TRixEffect copy = instrument.effects[index];
        instrument.effects.insert(instrument.effects.begin() + Offset(index + 1), copy);
        return true;
    });
}

bool CInstrumentEditor::SetEffectParameter(int32_t channel, std::size_t index, int field, int32_t value,
                                           TEditStep step)
{
    if (field != 1 && field != 2)
        return false;
    const CRixModuleChannel instrument = ReadChannel(channel);
    const int32_t type = index < instrument.effects.size() ? instrument.effects[index].type : -1;
    return Edit(EffectParameterName(type, field), channel, step, [index, field, value](CRixModuleChannel& changed) {
        if (index >= changed.effects.size())
            return false;
        (field == 2 ? changed.effects[index].param2 : changed.effects[index].param1) = value;
        return true;
    });
}

bool CInstrumentEditor::SetEnvelope(const TEnvelopeAddress& address, const TRixEnvelope& envelope, TEditStep step)
{
    if (!IsChannel(address.channel))
        return false;
    return editor.Commit("Envelope", nexilon::LOCKMODE_WRITE_EXCL, step, [&address, &envelope](CRixModuleData& song) {
        TRixEnvelope* target = address.In(song);
        if (!target)
            return false;
        *target = envelope;
        return true;
    });
}

bool CInstrumentEditor::CopyInstrument(int32_t from, int32_t to)
{
    if (!IsChannel(from))
        return false;
    const CRixModuleChannel instrument = ReadChannel(from);
    return Edit("Copy Instrument", to, TEditStep::New, [&instrument](CRixModuleChannel& target) {
        target = instrument;
        return true;
    });
}

bool CInstrumentEditor::LoadInstrument(int32_t channel, const CRixModuleChannel& instrument)
{
    return Edit("Load Instrument", channel, TEditStep::New, [&instrument](CRixModuleChannel& target) {
        target = instrument;
        return true;
    });
}

} // namespace rix
