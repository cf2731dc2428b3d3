#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "IRixModulePlayer.h"
#include "RixModule.h"
#include "nexilon/Ptr.h"

namespace enginetest {

// A module and a player made through the class store, as the program does.
nexilon::CPtr<rix::IRixModule> NewModule();
nexilon::CPtr<rix::IRixModulePlayer> NewPlayer();

// Changes the song under the module's write lock (the change counter moves).
void Edit(rix::IRixModule& module, const std::function<void(rix::CRixModuleData&)>& change);

// Reads up to `samples` samples; fewer at the end of the song.
std::vector<int16_t> ReadSamples(rix::IRixModulePlayer& player, uint32_t samples);

// A song of one channel: pattern 1 at order position 0 holds `notes`
// from row 0; the other channels are silent.
void OneChannelSong(rix::CRixModuleData& data, int channel, const std::vector<uint32_t>& notes);

// Random songs for comparisons with the reference. Sane songs stay within
// the editors' ranges (plus some out-of-range types and notes); hostile
// ones draw any 32-bit value for every member.
void RandomSong(rix::CRixModuleData& data, std::mt19937& random);
void HostileSong(rix::CRixModuleData& data, std::mt19937& random);

} // namespace enginetest
