#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "CliFiles.h"
#include "IRixModulePlayer.h"
#include "ModuleArchive.h"
#include "RixModule.h"
#include "nexilon/Exceptions.h"
#include "nexilon/Nexilon.h"

namespace {

constexpr const char* kUsage =
    "Usage: sonrix3-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Headless tools for sonrix3 modules (.sonrix) and instruments (.sonrixi).\n"
    "\n"
    "Commands:\n"
    "  dump FILE                     print a module or instrument file as JSON\n"
    "  convert IN OUT                load any readable version, save as version 3\n"
    "  render IN.sonrix OUT.wav      render the song to a 16-bit mono WAV file\n"
    "  render --as-exported [--exact] IN.sonrix OUT.wav\n"
    "                                render it as the intro will: the exported tables\n"
    "                                played by the replay routine\n"
    "  render --stems DIR IN.sonrix  one WAV per channel that plays, the others muted\n"
    "  export-cpp [--exact] IN.sonrix OUT.cpp\n"
    "                                write the C++ song tables ('-' for standard output);\n"
    "                                --exact: the form that plays exactly as the editor\n"
    "  export-cpp --size [--exact] IN.sonrix\n"
    "                                print the tables' bytes, raw and LZMA-compressed\n"
    "  verify-export [--exact] IN.sonrix\n"
    "                                compare the replay routine's render with the editor's,\n"
    "                                per channel and mix, and list what the tables cannot\n"
    "                                carry; exit status 1 when a 50 ms window's level\n"
    "                                differs by more than 1.0 dB, an oscillator's pitch by\n"
    "                                more than 5.0 cents, or anything is left out (with\n"
    "                                --exact: when any sample differs)\n"
    "  sync [--csv|--json] IN.sonrix print the song's notes and stops with their sample,\n"
    "                                seconds, order position, row and channel\n"
    "  play IN.sonrix [--loop-order N]\n"
    "                                play the song on the audio device\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help\n"
    "  -V, --version  show the version\n";

struct TCommand {
    const char* name;
    int (*run)(const std::vector<std::string>&);
};

constexpr TCommand kCommands[] = {
    {"dump", &cli::RunDump},           {"convert", &cli::RunConvert}, {"render", &cli::RunRender},
    {"export-cpp", &cli::RunExportCpp}, {"play", &cli::RunPlay},
    {"verify-export", &cli::RunVerifyExport}, {"sync", &cli::RunSync},
};

} // namespace

int cli::UsageError(const std::string& problem)
{
    std::fprintf(stderr, "sonrix3-cli: %s\n\n%s", problem.c_str(), kUsage);
    return 2;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return cli::UsageError("no command given");
    const std::string command = argv[1];
    if (command == "-h" || command == "--help") {
        std::fputs(kUsage, stdout);
        return cli::FinishStandardOutput(0);
    }
    if (command == "-V" || command == "--version") {
        std::printf("sonrix3-cli %s\n", SONRIX_VERSION);
        return cli::FinishStandardOutput(0);
    }
    for (const TCommand& entry : kCommands) {
        if (command != entry.name)
            continue;
        // Past a file size limit (ulimit -f) a write fails like one on a
        // full disk, and the temporary file is removed, instead of the
        // signal ending the tool on the spot.
        std::signal(SIGXFSZ, SIG_IGN);
        // The program's framework classes, once, before any command runs.
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterPlayerClass();
        rix::RegisterArchiveStreamClasses();
        int status = 1;
        try {
            status = entry.run(std::vector<std::string>(argv + 2, argv + argc));
        } catch (const nexilon::CException& error) {
            std::fprintf(stderr, "sonrix3-cli: %s\n", error.GetMessage().c_str());
        } catch (const std::exception& error) {
            std::fprintf(stderr, "sonrix3-cli: %s\n", error.what());
        }
        nexilon::q.Close();
        return cli::FinishStandardOutput(status);
    }
    return cli::UsageError("unknown command '" + command + "'");
}
