#include <cstdint>
#include <cstdlib>
#include <optional>

#include "FuzzSong.h"
#include "RixExportSize.h"
#include "RixSongExporter.h"
#include "nexilon/MemoryStream.h"

// Any bytes as a module file, then exported as the C++ song tables and
// measured as the status bar measures them: the text must be plain
// printable ASCII lines, and the size must count every table byte; any
// song the loader takes must export.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<rix::CRixModuleData> song = fuzzing::Load<rix::CRixModuleData>(data, size);
    if (!song)
        return 0;
    auto text = nexilon::CreateMemoryOutputStream();
    rix::CRixSongExporter().Export(*song, *text);
    for (const char c : text->GetBytes())
        if ((c < ' ' || c > '~') && c != '\n' && c != '\t')
            std::abort();
    const rix::TExportSize measured = rix::MeasureExportSize(*song);
    if (measured.rawBytes != rix::SongTableBytes(rix::CRixSongExporter().Build(*song)).size() ||
        (measured.rawBytes > 0 && measured.compressedBytes == 0))
        std::abort();
    return 0;
}
