#include "RixModuleChannel.h"

namespace rix {

void CRixModuleChannel::Reset()
{
    volume = 100;
    oscillators.assign(1, TRixOscillator());
    transitionOscillators.assign(1, TRixOscillator());
    effects.clear();
    envelope = TRixEnvelope::ChannelDefault();
}

void CRixModuleChannel::AddOscillator()
{
    oscillators.emplace_back();
    transitionOscillators.emplace_back();
}

void CRixModuleChannel::InsertOscillator(std::size_t index, const TRixOscillator& oscillator,
                                         const TRixOscillator& transitionOscillator)
{
    if (index > oscillators.size() || index > transitionOscillators.size())
        return;
    oscillators.insert(oscillators.begin() + static_cast<std::ptrdiff_t>(index), oscillator);
    transitionOscillators.insert(transitionOscillators.begin() + static_cast<std::ptrdiff_t>(index),
                                 transitionOscillator);
}

void CRixModuleChannel::RemoveOscillator(std::size_t index)
{
    if (index >= oscillators.size() || index >= transitionOscillators.size())
        return;
    oscillators.erase(oscillators.begin() + static_cast<std::ptrdiff_t>(index));
    transitionOscillators.erase(transitionOscillators.begin() + static_cast<std::ptrdiff_t>(index));
}

void CRixModuleChannel::MoveOscillator(std::size_t from, std::size_t to)
{
    const std::size_t count = std::min(oscillators.size(), transitionOscillators.size());
    if (from >= count || to >= count || from == to)
        return;
    const TRixOscillator moved = oscillators[from];
    const TRixOscillator movedTransition = transitionOscillators[from];
    RemoveOscillator(from);
    InsertOscillator(to, moved, movedTransition);
}

} // namespace rix
