// What an instrument of tens of thousands of oscillators costs the editor's
// window: opening a song that holds one to an idle window, switching the
// shown channel to it, loading it from an instrument file, one edit of one
// of its oscillators, and the intro size the status bar measures after each
// change. The instrument is the demo song's first channel grown to N
// oscillators, every third one frequency-modulated (so the list has N * 4/3
// items). Offscreen windows, dummy audio driver; run from a release build:
//   build/bin/big_instrument_bench
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <QApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include "InstrumentEditor.h"
#include "MainFrame.h"
#include "ModuleArchive.h"
#include "ModuleFiles.h"
#include "OscillatorListBodyWnd.h"
#include "OscillatorListMainWnd.h"
#include "PlaybackController.h"
#include "RixDoc.h"
#include "RixExportSize.h"
#include "RixModule.h"
#include "SongEditor.h"
#include "Theme.h"
#include "nexilon/Nexilon.h"

namespace {

namespace fs = std::filesystem;

// The editor's main window on a controller of its own, with its settings
// and autosaves in a temporary folder.
class CEditorSession {
public:
    CEditorSession() : folder(fs::temp_directory_path() / ("big-instrument-bench-" + std::to_string(::getpid())))
    {
        fs::create_directories(folder);
        ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterPlayerClass();
        rix::RegisterArchiveStreamClasses();
        rix::CTheme::Create();
        controller = std::make_unique<rix::CPlaybackController>();
        editor = std::make_unique<rix::CSongEditor>(*controller);
        frame = std::make_unique<rix::CMainFrame>(*editor);
        frame->Document().OnNewDocument();
        frame->show();
        Settle();
    }
    ~CEditorSession()
    {
        frame.reset();
        editor.reset();
        controller.reset();
        rix::CTheme::Destroy();
        nexilon::q.Close();
        fs::remove_all(folder);
    }

    // Until nothing is left to do: repaints, deleted windows.
    static void Settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    // The demo song with its first channel grown to oscillators; written
    // once per size as a song and as that channel's instrument file.
    std::string SongFile(int64_t oscillators) { return Files(oscillators).first; }
    std::string InstrumentFile(int64_t oscillators) { return Files(oscillators).second; }

    void Open(const std::string& path)
    {
        QString reason;
        if (!frame->Document().OnOpenDocument(QString::fromStdString(path), reason))
            std::abort();
        Settle();
    }
    rix::COscillatorListMainWnd& Panel() const { return *frame->findChild<rix::COscillatorListMainWnd*>(); }
    std::size_t ItemWindows() const { return Panel().List()->ItemWindows().size(); }

    std::unique_ptr<rix::CPlaybackController> controller;
    std::unique_ptr<rix::CSongEditor> editor;
    std::unique_ptr<rix::CMainFrame> frame;

private:
    const std::pair<std::string, std::string>& Files(int64_t oscillators)
    {
        auto& files = written[oscillators];
        if (files.first.empty()) {
            rix::CRixModuleData song;
            rix::ReadModuleFile(SONRIX_SOURCE_DIR "/examples/demo.sonrix", song);
            rix::CRixModuleChannel& channel = song.channels[0];
            while (static_cast<int64_t>(channel.oscillators.size()) < oscillators)
                channel.AddOscillator();
            for (std::size_t i = 0; i < channel.oscillators.size(); i += 3)
                channel.oscillators[i].transition = true;
            const std::string stem = (folder / std::to_string(oscillators)).string();
            files = {stem + ".sonrix", stem + ".sonrixi"};
            rix::WriteModuleFile(files.first, song);
            rix::WriteInstrumentFile(files.second, channel);
        }
        return files;
    }

    fs::path folder;
    std::map<int64_t, std::pair<std::string, std::string>> written;
};

CEditorSession* session = nullptr;

void SetCounters(benchmark::State& state)
{
    state.counters["item windows"] = static_cast<double>(session->ItemWindows());
    state.counters["modified"] = session->frame->isWindowModified() ? 1 : 0;
}

// From the file to an idle window showing the song (channel 1 and its
// instrument shown, every window redrawn).
void BM_OpenSong(benchmark::State& state)
{
    const std::string path = session->SongFile(state.range(0));
    for (auto _ : state)
        session->Open(path);
    SetCounters(state);
}
BENCHMARK(BM_OpenSong)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();

// From another channel to the big one, shown.
void BM_SwitchToChannel(benchmark::State& state)
{
    session->Open(session->SongFile(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        session->controller->SelectChannel(1);
        CEditorSession::Settle();
        state.ResumeTiming();
        session->controller->SelectChannel(0);
        CEditorSession::Settle();
    }
    SetCounters(state);
}
BENCHMARK(BM_SwitchToChannel)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();

// "Load" of the instrument file into the shown channel, to an idle window.
void BM_LoadInstrument(benchmark::State& state)
{
    session->Open(session->SongFile(1000));
    const QString path = QString::fromStdString(session->InstrumentFile(state.range(0)));
    for (auto _ : state) {
        session->Panel().LoadInstrumentFrom(path);
        CEditorSession::Settle();
        state.PauseTiming();
        session->editor->Undo();
        CEditorSession::Settle();
        state.ResumeTiming();
    }
    SetCounters(state);
}
BENCHMARK(BM_LoadInstrument)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One oscillator's volume through the edit layer, to the redrawn item.
void BM_EditOneOscillator(benchmark::State& state)
{
    session->Open(session->SongFile(state.range(0)));
    int32_t volume = 0;
    for (auto _ : state) {
        session->editor->Instruments().SetOscillatorVolume(0, {1, false}, ++volume % 256);
        CEditorSession::Settle();
    }
    SetCounters(state);
}
BENCHMARK(BM_EditOneOscillator)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The status bar's intro size of the song (tables and LZMA), which its
// worker thread measures after each change.
void BM_IntroSize(benchmark::State& state)
{
    rix::CRixModuleData song;
    rix::ReadModuleFile(session->SongFile(state.range(0)), song);
    for (auto _ : state)
        benchmark::DoNotOptimize(rix::MeasureExportSize(song));
}
BENCHMARK(BM_IntroSize)->Arg(1000)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("SONRIX_AUDIO_DRIVER", "dummy", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    {
        CEditorSession editor;
        session = &editor;
        benchmark::RunSpecifiedBenchmarks();
        session = nullptr;
    }
    benchmark::Shutdown();
    return 0;
}
