#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FuzzPlayback.h"
#include "FuzzSong.h"
#include "ModuleFiles.h"
#include "RixModuleData.h"
#include "nexilon/Exceptions.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/MemoryStream.h"
#include "nexilon/OutputStreamSelector.h"

// Any bytes as a module file: loading must end in a framework exception or
// a module whose oscillator lists run parallel, that survives a save and a
// second load unchanged, and that plays (or is refused) within the limits.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    rix::CRixModuleData module;
    bool loaded = false;
    try {
        auto input = nexilon::CreateMemoryInputStream(std::string_view(reinterpret_cast<const char*>(data), size));
        nexilon::CInputStreamSelector selector(input.Get());
        module.Load(selector);
        loaded = true;
    } catch (const nexilon::CException&) {
    }
    for (const rix::CRixModuleChannel& channel : module.channels)
        if (channel.oscillators.size() != channel.transitionOscillators.size())
            std::abort();
    // From a file through the archive streams, as the programs read: the
    // same outcome, the same data.
    const auto fromFile = fuzzing::ReadAsFile<rix::CRixModuleData>(data, size, [](const std::string& path, rix::CRixModuleData& read) {
        rix::ReadModuleFile(path, read);
    });
    if (fromFile.has_value() != loaded || (loaded && !(*fromFile == module)))
        std::abort();
    if (!loaded)
        return 0;

    auto output = nexilon::CreateMemoryOutputStream();
    nexilon::COutputStreamSelector outputSelector(output.Get());
    module.Save(outputSelector);
    rix::CRixModuleData reloaded;
    auto input = nexilon::CreateMemoryInputStream(output->GetBytes());
    nexilon::CInputStreamSelector inputSelector(input.Get());
    reloaded.Load(inputSelector);
    if (!(reloaded == module))
        std::abort();
    fuzzing::PlayBriefly(module, data, size);
    return 0;
}
