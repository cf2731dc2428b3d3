#pragma once

namespace rix {

// How an edit joins the undo history: as a step of its own (a click, a
// typed value, the press that starts a drag) or as part of the gesture the
// last New edit of the same name began (the moves of a drag, the repeats
// of a held spin button).
enum class TEditStep { New, Continue };

} // namespace rix
