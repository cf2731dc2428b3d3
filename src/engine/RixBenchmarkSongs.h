#pragma once

#include "RixModuleData.h"

namespace rix {

// The two songs the render speed is measured with (bench/render_bench and
// the command line's speed check). Each resets `data` first; both last 16
// order positions at 120 BPM.

// The default instrument on all eight channels, a note every other row.
void MakeLightSong(CRixModuleData& data);

// All eight channels with four oscillators each, every one frequency
// modulated by its transition oscillator, envelopes of every reset mode
// moving, and a delay, a resonance and an overdrive per channel.
void MakeHeavySong(CRixModuleData& data);

} // namespace rix
