#pragma once

#include <cstdint>

#include "IRixModule.h"
#include "nexilon/Stream.h"

namespace rix {

// The synthesizer as an input stream of 16-bit signed little-endian mono
// PCM at 44100 Hz; byte positions are samples × 2. Slots 19 to 26 follow
// IInputStream's.
//
// Every operation that reads the song first follows the module's edits
// (GetLength, Seek, Skip, Read, RowAtTime, TimeOfRow, SeekToRow, Connect)
// and so may throw nexilon::CInvalidParameterException when the song's
// delays and flanges need more history memory than a song may use (its
// message says which channel and how much, for the musician), or
// std::bad_alloc. The player then keeps what it played before the edit
// and renders on once the song fits again.
class IRixModulePlayer : public nexilon::IInputStream {
public:
    static constexpr nexilon::CId Iid{0xA81B3749, 0x333C4DA4, 0x97A8B12B, 0x1CE7BDE7};

    // Mute switch of one channel (0..7); takes no lock.
    virtual void SetChannelEnabled(int32_t channel, bool enabled) = 0;
    // The absolute row (order position × 16 + row) playing at that time.
    virtual int32_t RowAtTime(float seconds) = 0;
    // The start of an absolute row in seconds (+0.0001, single precision).
    virtual float TimeOfRow(uint32_t absoluteRow) = 0;
    virtual void SeekToRow(uint32_t absoluteRow) = 0;
    // Attaches to a module (a counted reference is kept) and seeks to 0.
    // A song refused as above leaves the player unconnected.
    virtual void Connect(IRixModule* module) = 0;
    // The current row of the current pattern, for display; takes no lock.
    virtual uint32_t GetRow() = 0;
    // Copies count recent output samples of a channel (or of the mix for a
    // negative channel) starting at bytePosition, which may lie in the past.
    virtual void CopyOutput(int32_t channel, uint32_t bytePosition, int32_t* destination, uint32_t count) = 0;
    // Repeat the current order position instead of advancing.
    virtual void SetLoopPattern(bool loop) = 0;

    // For display while another thread reads the stream; none takes a lock
    // or waits. The samples Read has returned since the player was made:
    // Read's output numbered from 0, never reset.
    virtual uint64_t GetRenderedCount() = 0;
    // Seconds per row as of the last synchronisation (0 before the first).
    virtual float GetRowSeconds() = 0;
    // Copies samples end - count .. end - 1 of Read's output (numbered as
    // above) of a channel, or of the mix for a negative channel: the voice
    // signal after effects, muted or not. Seeks and loops do not clear
    // them. False, with zeros, when some of them are not rendered yet or no
    // longer kept (about 1.4 s back).
    virtual bool CopyRendered(int32_t channel, uint64_t end, int32_t* destination, uint32_t count) = 0;

protected:
    ~IRixModulePlayer() = default;
};

inline constexpr nexilon::CId RIX_MODULE_PLAYER_CLASS{0x6C236FCE, 0x76E049F1, 0x83FBBEC5, 0x887E4556};

// Registers "rix::CRixModulePlayer" with the framework's class store.
void RegisterPlayerClass();

} // namespace rix
