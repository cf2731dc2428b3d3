#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "CliFiles.h"
#include "RixModuleData.h"
#include "RixSongEvents.h"

// "sync [--json] IN.sonrix": the song's notes and stops with their times, for
// a demo tool's timeline; CSV (one header line) or a JSON array on
// standard output. The times are those of the replay routine's sync.
namespace cli {

namespace {

void PrintCsv(const std::vector<rix::TRixNoteEvent>& events)
{
    std::printf("sample,seconds,order,row,channel,note\n");
    for (const rix::TRixNoteEvent& e : events)
        std::printf("%u,%.6f,%d,%d,%d,%u\n", e.sample, e.Seconds(), e.order, e.row, e.channel + 1, e.note);
}

void PrintJson(const std::vector<rix::TRixNoteEvent>& events)
{
    std::printf("[");
    for (std::size_t i = 0; i < events.size(); ++i) {
        const rix::TRixNoteEvent& e = events[i];
        std::printf("%s\n  {\"sample\": %u, \"seconds\": %.6f, \"order\": %d, \"row\": %d, \"channel\": %d, \"note\": %u}",
                    i == 0 ? "" : ",", e.sample, e.Seconds(), e.order, e.row, e.channel + 1, e.note);
    }
    std::printf("%s]\n", events.empty() ? "" : "\n");
}

} // namespace

int RunSync(const std::vector<std::string>& arguments)
{
    std::vector<std::string> args = arguments;
    const bool json = TakeOption(args, "--json");
    TakeOption(args, "--csv");
    if (args.size() != 1)
        return UsageError("sync needs IN.sonrix");
    auto data = std::make_unique<rix::CRixModuleData>();
    try {
        LoadModuleFile(args[0], *data);
    } catch (const std::exception& error) {
        return ReportFileFailure(args[0], error);
    }
    const std::vector<rix::TRixNoteEvent> events = rix::SongNoteEvents(*data);
    if (json)
        PrintJson(events);
    else
        PrintCsv(events);
    return 0;
}

} // namespace cli
