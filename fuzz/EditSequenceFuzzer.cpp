#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <string_view>
#include <vector>

#include "EditArguments.h"
#include "EditOperations.h"
#include "PlaybackController.h"
#include "RixModule.h"
#include "SongEditor.h"
#include "nexilon/Exceptions.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/MemoryStream.h"
#include "nexilon/Nexilon.h"

// Any bytes as a song and a sequence of edits: the first two bytes give the
// length of a module file that follows (a song built in when it is 0 or the
// file does not load), the rest are up to 64 operations of the edit layer
// with their arguments, undo and redo among them. The history is checked
// against a model of the song's states: every edit changes the song exactly
// when it says so and announces exactly what changed, adds one undo step or
// merges into the gesture it continues (whose step goes when the gesture
// comes back to where it began); each undo gives back the song as it
// was before its step, each redo the song after it; and at the end the
// whole history undone and done again passes through the same states.
namespace {

using fuzzing::CEditArguments;
using rix::CRixModuleData;

// The listener of the windows' place: what each change announced.
class CHeard final : public rix::IMessageTarget {
public:
    void PostMessage(uint32_t, uintptr_t, intptr_t) override {}
    void OnSongChanged(const rix::TSongChange& change) override { changes.push_back(change); }

    std::vector<rix::TSongChange> changes;
};

// operator== of the song, quicker under coverage tracing: the tables
// compared as bytes.
bool Same(const CRixModuleData& a, const CRixModuleData& b)
{
    return std::memcmp(a.orderTable, b.orderTable, sizeof a.orderTable) == 0 &&
           std::memcmp(a.patterns, b.patterns, sizeof a.patterns) == 0 &&
           std::equal(std::begin(a.channels), std::end(a.channels), std::begin(b.channels)) &&
           a.masterVolume == b.masterVolume && a.bpm == b.bpm;
}

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "edit sequence: %s\n", what);
        std::abort();
    }
}

rix::CPlaybackController& Controller()
{
    static rix::CPlaybackController* const controller = [] {
        ::setenv("SONRIX_AUDIO_DRIVER", "dummy", 1);
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterPlayerClass();
        return new rix::CPlaybackController();
    }();
    return *controller;
}

// The song the edits start from: the module file of the input when it
// loads, else the built-in one.
CRixModuleData StartingSong(std::string_view file)
{
    CRixModuleData song;
    if (!file.empty()) {
        try {
            auto input = nexilon::CreateMemoryInputStream(file);
            nexilon::CInputStreamSelector selector(input.Get());
            song.Load(selector);
            return song;
        } catch (const nexilon::CException&) {
        }
    }
    return fuzzing::BuiltInSong();
}

// Fewer than the history keeps, so that every step can be taken back.
constexpr int kMaxOperations = 64;

class CSession {
public:
    explicit CSession(const CRixModuleData& start) : editor(Controller())
    {
        {
            rix::CRixModuleLock data(Controller().GetSongModule(), nexilon::LOCKMODE_WRITE);
            *data = start;
        }
        Controller().AddListener(&heard);
        current = start;
        undoStates.reserve(kMaxOperations);
        redoStates.reserve(kMaxOperations);
    }
    ~CSession() { Controller().RemoveListener(&heard); }

    // One operation of the table, then, if the arguments say so and it
    // changed the song, its undo and redo.
    void Edit(const fuzzing::TEditOperation& operation, CEditArguments& arguments)
    {
        const std::size_t steps = editor.UndoCount();
        const bool couldRedo = editor.CanRedo();
        heard.changes.clear();
        const fuzzing::TEditResult result = operation.apply(editor, arguments);
        const CRixModuleData after = Song();
        const rix::TSongChange difference = rix::SongDifference(current, after);
        const bool changed = !difference.IsEmpty();
        Require(!result.claimed || *result.claimed == changed, "an edit's result says otherwise than the song");
        if (!changed) {
            Require(heard.changes.empty(), "an edit that changed nothing announced a change");
            Require(editor.UndoCount() == steps && editor.CanRedo() == couldRedo,
                    "an edit that changed nothing was recorded");
            return;
        }
        Require(heard.changes.size() == 1 && heard.changes[0] == difference,
                "an edit announced other than what changed");
        Require(!editor.CanRedo(), "an edit left something to redo");
        const bool continued = result.step == rix::TEditStep::Continue && !undoStates.empty();
        if (editor.UndoCount() == steps + 1) {
            undoStates.push_back(current);
        } else if (continued && editor.UndoCount() + 1 == steps) {
            Require(Same(undoStates.back(), after), "a gesture's step went before the gesture came back");
            undoStates.pop_back();
        } else {
            Require(editor.UndoCount() == steps && continued, "an edit neither added a step nor continued a gesture");
            Require(!Same(undoStates.back(), after), "a gesture back where it began left a step");
        }
        redoStates.clear();
        current = after;
        CheckCursor();
        if (arguments.Byte() & 1) {
            TakeBack(true);
            TakeBack(false);
        }
    }

    // Undo (or redo) when there is a step: the song must become the state
    // the model kept for it.
    void TakeBack(bool undo)
    {
        std::vector<CRixModuleData>& from = undo ? undoStates : redoStates;
        std::vector<CRixModuleData>& to = undo ? redoStates : undoStates;
        Require((undo ? editor.CanUndo() : editor.CanRedo()) == !from.empty(),
                "the history holds other steps than made");
        if (from.empty())
            return;
        heard.changes.clear();
        Require(!(undo ? editor.Undo() : editor.Redo()).empty(), "a step without a name");
        const CRixModuleData after = Song();
        Require(Same(after, from.back()),
                undo ? "an undo did not give the song back" : "a redo did not do the edit again");
        Require(heard.changes.size() == 1 && heard.changes[0] == rix::SongDifference(current, after),
                "an undo or redo announced other than what changed");
        to.push_back(current);
        from.pop_back();
        current = after;
        CheckCursor();
    }

    // Everything undone, then done again.
    void Unwind()
    {
        while (!undoStates.empty())
            TakeBack(true);
        Require(!editor.CanUndo(), "steps left after undoing all");
        while (!redoStates.empty())
            TakeBack(false);
    }

private:
    CRixModuleData Song() const
    {
        return editor.Read([](const CRixModuleData& song) { return song; });
    }
    void CheckCursor() const
    {
        rix::CPlaybackController& controller = Controller();
        Require(controller.GetCurrentChannel() >= 0 && controller.GetCurrentChannel() < rix::RIX_CHANNELS &&
                    controller.GetCurrentOrder() >= 0 && controller.GetCurrentOrder() < rix::RIX_ORDER_POSITIONS &&
                    controller.GetCurrentRow() >= 0 && controller.GetCurrentRow() < rix::RIX_ROWS,
                "the cursor left the song");
        for (const rix::CRixModuleChannel& channel : current.channels)
            Require(channel.oscillators.size() == channel.transitionOscillators.size(),
                    "the oscillator lists no longer run parallel");
    }

    rix::CSongEditor editor;
    CHeard heard;
    CRixModuleData current;
    // The song before each step that Undo takes back, oldest first, and
    // after each one Redo does again.
    std::vector<CRixModuleData> undoStates;
    std::vector<CRixModuleData> redoStates;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::size_t fileSize = size < 2 ? 0 : std::min<std::size_t>(data[0] | data[1] << 8, size - 2);
    const auto* file = reinterpret_cast<const char*>(data) + (size < 2 ? size : 2);
    CEditArguments arguments(data + (size < 2 ? size : 2 + fileSize), size < 2 ? 0 : size - 2 - fileSize);
    const CRixModuleData start = StartingSong(std::string_view(file, fileSize));
    Controller().SelectChannel(0), Controller().SetOrderPosition(0), Controller().SetRow(0);

    CSession session(start);
    const auto& operations = fuzzing::EditOperations();
    for (int count = 0; count < kMaxOperations && !arguments.Empty(); ++count) {
        const uint8_t choice = arguments.Byte();
        if (choice >= 0xFE)
            session.TakeBack(choice == 0xFE);
        else
            session.Edit(operations[choice % operations.size()], arguments);
    }
    session.Unwind();
    return 0;
}
