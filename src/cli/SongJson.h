#pragma once

#include <string>

#include "RixModuleData.h"

// A song or an instrument as JSON, the form of "dump". Keys are the model's
// member names; envelopes, oscillators, effects and rows of numbers each
// take one line so that a dump reads well and diffs well.
namespace cli {

std::string ModuleJson(const rix::CRixModuleData& data);
std::string InstrumentJson(const rix::CRixModuleChannel& channel);

} // namespace cli
