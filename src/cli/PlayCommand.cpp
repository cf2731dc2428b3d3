#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

#include "CliCommands.h"
#include "CliFiles.h"
#include "InterruptGuard.h"
#include "PlaybackController.h"
#include "RixConstants.h"
#include "RixModule.h"

// "play IN.sonrix [--loop-order N]": real-time playback through the
// playback controller, as the editor plays. The song plays from its start
// to its end, or order position N repeats until Ctrl+C; on a terminal one
// line on standard output follows the playing order position, row and time.
// The last line says how many underruns (dropouts) there were.
namespace cli {

namespace {

// Often enough for rows of 60 ms and more; every wake-up costs CPU time.
constexpr auto kStatusPeriod = std::chrono::milliseconds(100);

// Stands in for the pattern editor: keeps the last playing absolute row
// the playback thread posted.
class CPlayingRow final : public rix::IMessageTarget {
public:
    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t) override
    {
        if (message == rix::MSG_PLAYING_POSITION && wParam != rix::NO_PLAYING_POSITION)
            row.store(static_cast<int32_t>(wParam));
    }
    int32_t Get() const { return row.load(); }

private:
    std::atomic<int32_t> row{-1};
};

// "order  3  row 07  time 0:05.61" for an absolute row at a row length in
// samples (44100 per second).
std::string StatusText(int32_t absoluteRow, int32_t rowLength)
{
    const double seconds = static_cast<double>(absoluteRow) * rowLength / rix::RIX_SAMPLE_RATE;
    const int minutes = static_cast<int>(seconds / 60.0);
    char text[64];
    std::snprintf(text, sizeof text, "order %3d  row %02d  time %d:%05.2f", absoluteRow / rix::RIX_ROWS,
                  absoluteRow % rix::RIX_ROWS, minutes, seconds - minutes * 60.0);
    return text;
}

bool ParseOrderPosition(const std::string& text, int32_t& position)
{
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    position = std::stoi(text);
    return position < rix::RIX_ORDER_POSITIONS;
}

} // namespace

int RunPlay(const std::vector<std::string>& args)
{
    std::string input;
    int32_t loopOrder = -1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--loop-order") {
            if (i + 1 == args.size() || !ParseOrderPosition(args[i + 1], loopOrder))
                return UsageError("--loop-order needs an order position 0..255");
            ++i;
        } else if (input.empty() && !args[i].empty() && args[i][0] != '-') {
            input = args[i];
        } else {
            return UsageError("play takes IN.sonrix and optionally --loop-order N");
        }
    }
    if (input.empty())
        return UsageError("play needs IN.sonrix");

    auto song = std::make_unique<rix::CRixModuleData>();
    try {
        LoadModuleFile(input, *song);
    } catch (const std::exception& error) {
        return ReportFileFailure(input, error);
    }
    if (song->GetSongLength() == 0) {
        std::fprintf(stderr, "sonrix3-cli: %s: the order table is empty, nothing to play\n", input.c_str());
        return 0;
    }
    if (loopOrder >= song->GetSongLength())
        return UsageError("--loop-order " + std::to_string(loopOrder) + " is past the song's last order position " +
                          std::to_string(song->GetSongLength() - 1));
    const int32_t rowLength = song->GetRowLength();

    // Declared before the controller, which posts to it until it is gone.
    CPlayingRow playingRow;
    rix::CPlaybackController controller;
    {
        rix::CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE);
        *data = *song;
    }
    controller.AddListener(&playingRow, rix::POSTS_POSITION);
    const bool terminal = ::isatty(STDOUT_FILENO) == 1;
    {
        CInterruptGuard guard;
        if (loopOrder >= 0) {
            controller.SetOrderPosition(loopOrder);
            controller.PlayPatternLoop();
        } else {
            controller.PlaySong();
        }
        std::string shown;
        while (controller.IsBusy()) {
            if (CInterruptGuard::Requested().load())
                controller.Stop();
            const int32_t row = playingRow.Get();
            if (terminal && row >= 0 && StatusText(row, rowLength) != shown) {
                shown = StatusText(row, rowLength);
                std::printf("\r%s", shown.c_str());
                std::fflush(stdout);
            }
            std::this_thread::sleep_for(kStatusPeriod);
        }
        controller.WaitUntilIdle();
    }
    const int32_t lastRow = playingRow.Get();
    if (lastRow >= 0)
        std::printf(terminal ? "\r%s\n" : "%s\n", StatusText(lastRow, rowLength).c_str());
    const uint64_t underruns = controller.GetUnderrunCount();
    std::printf("%llu underrun%s\n", static_cast<unsigned long long>(underruns), underruns == 1 ? "" : "s");
    return 0;
}

} // namespace cli
