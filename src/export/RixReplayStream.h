#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "RixModulePlayer.h"
#include "RixReplayRenderer.h"
#include "RixSongTables.h"
#include "nexilon/ObjectBase.h"
#include "nexilon/Stream.h"

namespace rix {

inline constexpr nexilon::CId RIX_REPLAY_STREAM_CLASS{0x5E0B2C41, 0x9A7D4F38, 0xB1C6E2D9, 0x3F8A7C15};

// The intro's render of a song as a framework input stream, in the
// player's format (16-bit mono PCM at 44100 Hz, byte positions = samples
// × 2), for an A/B switch that plays it in place of the editor's render at
// the same position. It ends with the song, like the player.
//
// The replay routine can only play from the song's start, so a seek
// renders up to the position and throws those samples away: at the heavy
// benchmark song's pace, about a second per 80 seconds of song. Like the
// renderer, at most one stream (or renderer) may exist in a process, used
// from one thread at a time.
class CRixReplayStream final : public nexilon::CObjectBase<nexilon::IInputStream> {
public:
    // Throws std::runtime_error as CRixReplayRenderer does.
    explicit CRixReplayStream(const TRixSongTables& tables);
    ~CRixReplayStream() override;

    nexilon::IObject* QueryInterface(const nexilon::CId& interfaceId) override;

    void Close() override;
    int32_t GetCapabilities() override;
    uint64_t GetLength() override;
    void Flush() override;
    void Seek(uint64_t position) override;
    uint64_t Tell() override;

    bool IsEof() override;
    const nexilon::TStreamFormat* GetFormat() override { return &format; }
    void Read(nexilon::IMediaSample* sample) override;
    uint64_t Read(void* buffer, uint64_t size) override;
    bool IsFeatureSupported(uint32_t) override { return false; }
    void Skip(int64_t delta) override;

private:
    TRixSongTables tables;
    std::unique_ptr<CRixReplayRenderer> renderer;
    TRixPcmFormat format;
    uint64_t songSamples = 0;
    // The next sample to render.
    uint64_t position = 0;
    // Reads and seeks render through it, so the audio path allocates nothing.
    std::array<int16_t, 1024> scratch{};
};

} // namespace rix
