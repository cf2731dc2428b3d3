#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FuzzPlayback.h"
#include "FuzzSong.h"
#include "ModuleFiles.h"
#include "RixModuleChannel.h"
#include "nexilon/Exceptions.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/MemoryStream.h"
#include "nexilon/OutputStreamSelector.h"

// Any bytes as an instrument file, loaded into a reset channel: loading
// must end in a framework exception or a channel whose oscillator lists run
// parallel, that survives a save and a second load unchanged, and that
// plays a note (or is refused) within the limits, as a preview would.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    rix::CRixModuleChannel channel;
    bool loaded = false;
    try {
        auto input = nexilon::CreateMemoryInputStream(std::string_view(reinterpret_cast<const char*>(data), size));
        nexilon::CInputStreamSelector selector(input.Get());
        channel.Load(selector);
        loaded = true;
    } catch (const nexilon::CException&) {
    }
    if (channel.oscillators.size() != channel.transitionOscillators.size())
        std::abort();
    // From a file through the archive streams, as the programs read: the
    // same outcome, the same data.
    const auto fromFile = fuzzing::ReadAsFile<rix::CRixModuleChannel>(data, size, [](const std::string& path, rix::CRixModuleChannel& read) {
        rix::ReadInstrumentFile(path, read);
    });
    if (fromFile.has_value() != loaded || (loaded && !(*fromFile == channel)))
        std::abort();
    if (!loaded)
        return 0;

    auto output = nexilon::CreateMemoryOutputStream();
    nexilon::COutputStreamSelector outputSelector(output.Get());
    channel.Save(outputSelector);
    rix::CRixModuleChannel reloaded;
    auto input = nexilon::CreateMemoryInputStream(output->GetBytes());
    nexilon::CInputStreamSelector inputSelector(input.Get());
    reloaded.Load(inputSelector);
    if (!(reloaded == channel))
        std::abort();
    rix::CRixModuleData song;
    song.orderTable[0][0] = 1;
    song.patterns[0][1][0] = 58;
    song.patterns[0][1][8] = rix::RIX_NOTE_STOP;
    song.channels[0] = channel;
    fuzzing::PlayBriefly(song, data, size);
    return 0;
}
