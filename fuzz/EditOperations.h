#pragma once

#include <optional>
#include <vector>

#include "EditArguments.h"
#include "RixModuleData.h"
#include "SongEditor.h"

namespace fuzzing {

// What an operation said of itself: whether it changed the song (when its
// result tells), and how it joined the history.
struct TEditResult {
    std::optional<bool> claimed;
    rix::TEditStep step = rix::TEditStep::New;
};

// One operation of the edit layer with arguments read from the fuzzer's
// bytes, in or out of range.
struct TEditOperation {
    const char* name;
    TEditResult (*apply)(rix::CSongEditor& editor, CEditArguments& arguments);
};

// Every operation the windows reach: the pattern editor's and the order
// table's, volumes and tempo, the oscillator, effect and envelope editors'
// and the instrument copies and loads.
const std::vector<TEditOperation>& EditOperations();

// A song with something everywhere: channel 0 plays patterns 1, 2, 1,
// channels 1 and 3 one pattern each, channel 2 has two oscillators (the
// first with frequency modulation), a delay and a resonance.
rix::CRixModuleData BuiltInSong();

} // namespace fuzzing
