#include "InstrumentEditor.h"

#include <utility>

#include "PlaybackController.h"
#include "RixModule.h"

namespace rix {

namespace {

bool IsChannel(int32_t channel)
{
    return channel >= 0 && channel < RIX_CHANNELS;
}

bool Always(const CRixModuleChannel&)
{
    return true;
}

std::ptrdiff_t Offset(std::size_t index)
{
    return static_cast<std::ptrdiff_t>(index);
}

} // namespace

CInstrumentEditor::CInstrumentEditor(CPlaybackController& controller)
    : controller(controller), module(controller.GetSongModule())
{
}

CRixModuleChannel CInstrumentEditor::ReadChannel(int32_t channel) const
{
    if (!IsChannel(channel))
        return {};
    CRixModuleLock lock(module, nexilon::LOCKMODE_READ);
    return lock->channels[channel];
}

void CInstrumentEditor::BeginStep(int32_t channel)
{
    if (IsChannel(channel))
        controller.TakeInstrumentSnapshot(channel);
}

bool CInstrumentEditor::Edit(int32_t channel, TEditStep step,
                             const std::function<bool(const CRixModuleChannel&)>& applies,
                             const std::function<void(CRixModuleChannel&)>& change)
{
    if (!IsChannel(channel))
        return false;
    {
        CRixModuleLock lock(module, nexilon::LOCKMODE_READ);
        if (!applies(lock->channels[channel]))
            return false;
    }
    // The snapshot locks the module itself, so it comes before the write.
    if (step == TEditStep::New)
        BeginStep(channel);
    CRixModuleLock lock(module, nexilon::LOCKMODE_WRITE);
    change(lock->channels[channel]);
    return true;
}

void CInstrumentEditor::AddOscillator(int32_t channel)
{
    Edit(channel, TEditStep::New, Always, [](CRixModuleChannel& instrument) { instrument.AddOscillator(); });
}

void CInstrumentEditor::ClearOscillators(int32_t channel)
{
    Edit(channel, TEditStep::New, Always, [](CRixModuleChannel& instrument) {
        instrument.oscillators.clear();
        instrument.transitionOscillators.clear();
    });
}

void CInstrumentEditor::RemoveOscillator(int32_t channel, std::size_t index)
{
    Edit(
        channel, TEditStep::New,
        [index](const CRixModuleChannel& instrument) { return index < instrument.oscillators.size(); },
        [index](CRixModuleChannel& instrument) { instrument.RemoveOscillator(index); });
}

bool CInstrumentEditor::SwapOscillators(int32_t channel, std::size_t index, std::size_t other)
{
    return Edit(
        channel, TEditStep::New,
        [index, other](const CRixModuleChannel& instrument) {
            return index != other && index < instrument.oscillators.size() && other < instrument.oscillators.size();
        },
        [index, other](CRixModuleChannel& instrument) {
            std::swap(instrument.oscillators[index], instrument.oscillators[other]);
            std::swap(instrument.transitionOscillators[index], instrument.transitionOscillators[other]);
        });
}

void CInstrumentEditor::DuplicateOscillator(int32_t channel, std::size_t index)
{
    Edit(
        channel, TEditStep::New,
        [index](const CRixModuleChannel& instrument) { return index < instrument.oscillators.size(); },
        [index](CRixModuleChannel& instrument) {
            const TRixOscillator oscillator = instrument.oscillators[index];
            const TRixOscillator transition = instrument.transitionOscillators[index];
            instrument.InsertOscillator(index + 1, oscillator, transition);
        });
}

void CInstrumentEditor::ToggleTransition(int32_t channel, std::size_t index)
{
    ChangeOscillator(channel, {index, false},
                     [](TRixOscillator& oscillator) { oscillator.transition = !oscillator.transition; });
}

void CInstrumentEditor::TransposeAll(int32_t channel, int32_t cents)
{
    Edit(channel, TEditStep::New, Always, [cents](CRixModuleChannel& instrument) {
        for (auto* list : {&instrument.oscillators, &instrument.transitionOscillators})
            for (TRixOscillator& oscillator : *list)
                oscillator.pitch = static_cast<int32_t>(static_cast<uint32_t>(oscillator.pitch) +
                                                        static_cast<uint32_t>(cents));
    });
}

void CInstrumentEditor::ChangeOscillator(int32_t channel, TOscillatorRef ref,
                                         const std::function<void(TRixOscillator&)>& change, TEditStep step)
{
    Edit(
        channel, step,
        [ref](const CRixModuleChannel& instrument) {
            return ref.index < (ref.transition ? instrument.transitionOscillators : instrument.oscillators).size();
        },
        [ref, &change](CRixModuleChannel& instrument) {
            change((ref.transition ? instrument.transitionOscillators : instrument.oscillators)[ref.index]);
        });
}

void CInstrumentEditor::AddEffect(int32_t channel, int32_t type)
{
    Edit(channel, TEditStep::New, Always,
         [type](CRixModuleChannel& instrument) { instrument.effects.push_back(TRixEffect::OfType(type)); });
}

void CInstrumentEditor::ClearEffects(int32_t channel)
{
    Edit(channel, TEditStep::New, Always, [](CRixModuleChannel& instrument) { instrument.effects.clear(); });
}

void CInstrumentEditor::RemoveEffect(int32_t channel, std::size_t index)
{
    Edit(
        channel, TEditStep::New,
        [index](const CRixModuleChannel& instrument) { return index < instrument.effects.size(); },
        [index](CRixModuleChannel& instrument) {
            instrument.effects.erase(instrument.effects.begin() + Offset(index));
        });
}

bool CInstrumentEditor::SwapEffects(int32_t channel, std::size_t index, std::size_t other)
{
    return Edit(
        channel, TEditStep::New,
        [index, other](const CRixModuleChannel& instrument) {
            return index != other && index < instrument.effects.size() && other < instrument.effects.size();
        },
        [index, other](CRixModuleChannel& instrument) {
            std::swap(instrument.effects[index], instrument.effects[other]);
        });
}

void CInstrumentEditor::DuplicateEffect(int32_t channel, std::size_t index)
{
    Edit(
        channel, TEditStep::New,
        [index](const CRixModuleChannel& instrument) { return index < instrument.effects.size(); },
        [index](CRixModuleChannel& instrument) {
            const TRixEffect copy = instrument.effects[index];
            instrument.effects.insert(instrument.effects.begin() + Offset(index + 1), copy);
        });
}

void CInstrumentEditor::ChangeEffect(int32_t channel, std::size_t index, const std::function<void(TRixEffect&)>& change,
                                     TEditStep step)
{
    Edit(
        channel, step, [index](const CRixModuleChannel& instrument) { return index < instrument.effects.size(); },
        [index, &change](CRixModuleChannel& instrument) { change(instrument.effects[index]); });
}

void CInstrumentEditor::CopyInstrument(int32_t from, int32_t to)
{
    if (!IsChannel(from) || from == to)
        return;
    const CRixModuleChannel instrument = ReadChannel(from);
    ReplaceInstrument(to, instrument);
}

void CInstrumentEditor::ReplaceInstrument(int32_t channel, const CRixModuleChannel& instrument)
{
    Edit(
        channel, TEditStep::New, [&instrument](const CRixModuleChannel& current) { return !(current == instrument); },
        [&instrument](CRixModuleChannel& current) { current = instrument; });
}

TRixEnvelope* CInstrumentEditor::OscillatorEnvelope(int32_t channel, TOscillatorRef ref, bool transitionEnvelope) const
{
    if (!IsChannel(channel))
        return nullptr;
    CRixModuleLock lock(module, nexilon::LOCKMODE_READ);
    auto& list = ref.transition ? lock->channels[channel].transitionOscillators : lock->channels[channel].oscillators;
    if (ref.index >= list.size())
        return nullptr;
    return transitionEnvelope ? &list[ref.index].transitionEnvelope : &list[ref.index].volumeEnvelope;
}

TRixEnvelope* CInstrumentEditor::EffectEnvelope(int32_t channel, std::size_t index, int which) const
{
    if (!IsChannel(channel))
        return nullptr;
    CRixModuleLock lock(module, nexilon::LOCKMODE_READ);
    auto& effects = lock->channels[channel].effects;
    if (index >= effects.size())
        return nullptr;
    return which == 2 ? &effects[index].envelope2 : &effects[index].envelope1;
}

} // namespace rix
