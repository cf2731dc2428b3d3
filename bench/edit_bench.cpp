// What one operation of the edit layer costs on the heavy benchmark song:
// the copy of the song, the comparison, the undo step, the write under the
// lock and the announcement, without windows. Run from a release build:
//   SONRIX_AUDIO_DRIVER=dummy build/bin/edit_bench
#include <cstdlib>
#include <memory>

#include <benchmark/benchmark.h>

#include "ArrangementEditor.h"
#include "PlaybackController.h"
#include "RixBenchmarkSongs.h"
#include "RixModule.h"
#include "SongEditor.h"
#include "nexilon/Nexilon.h"

namespace {

// The heavy song in a controller with its edit layer, for one benchmark.
class CEditSession {
public:
    CEditSession()
    {
        ::setenv("SONRIX_AUDIO_DRIVER", "dummy", 0);
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterPlayerClass();
        controller = std::make_unique<rix::CPlaybackController>();
        editor = std::make_unique<rix::CSongEditor>(*controller);
        rix::CRixModuleLock data(controller->GetSongModule(), nexilon::LOCKMODE_WRITE);
        rix::MakeHeavySong(*data);
    }
    ~CEditSession()
    {
        editor.reset();
        controller.reset();
        nexilon::q.Close();
    }

    std::unique_ptr<rix::CPlaybackController> controller;
    std::unique_ptr<rix::CSongEditor> editor;
};

// A fader drag: every move changes the volume and merges into one step.
void BM_EditFaderMove(benchmark::State& state)
{
    CEditSession session;
    int32_t volume = 0;
    for (auto _ : state)
        session.editor->SetChannelVolume(3, ++volume % 256, rix::TEditStep::Continue);
}
BENCHMARK(BM_EditFaderMove);

// A typed note: a step of its own holding the whole arrangement (16 KB).
void BM_EditNote(benchmark::State& state)
{
    CEditSession session;
    uint32_t note = 0;
    for (auto _ : state)
        session.editor->Arrangement().EnterValue(0, 0, 0, 1 + ++note % 100);
}
BENCHMARK(BM_EditNote);

// Undo and redo of an instrument step.
void BM_UndoRedo(benchmark::State& state)
{
    CEditSession session;
    session.editor->SetChannelVolume(3, 7);
    for (auto _ : state) {
        session.editor->Undo();
        session.editor->Redo();
    }
}
BENCHMARK(BM_UndoRedo);

} // namespace

BENCHMARK_MAIN();
