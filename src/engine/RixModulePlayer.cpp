#include "RixModulePlayer.h"

#include <algorithm>
#include <string>

#include "RixArithmetic.h"
#include "nexilon/Exceptions.h"
#include "nexilon/Nexilon.h"

namespace rix {

namespace {

constexpr const char* SOURCE_FILE = "RixModulePlayer";

int32_t ClampToPcm(int32_t value)
{
    return std::clamp<int32_t>(value, -32768, 32767);
}

// Whole MiB, rounded up, so a song just over the budget does not read as
// exactly at it.
uint64_t Megabytes(uint64_t bytes)
{
    return (bytes + (1u << 20) - 1) >> 20;
}

// Refuses a song whose effect histories would take more than the budget
// at `rowLength` samples per row, before anything is allocated. The
// message names the channel that needs the most, for the musician to fix.
void CheckHistoryBudget(const CRixModuleData& data, uint32_t rowLength)
{
    uint64_t total = 0;
    uint64_t largest = 0;
    int largestChannel = 0;
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        uint64_t bytes = 0;
        for (const TRixEffect& effect : data.channels[c].effects)
            bytes += uint64_t{2} * sizeof(int32_t) * TRixEffectState::HistoryLength(effect, rowLength);
        total += bytes;
        if (bytes > largest) {
            largest = bytes;
            largestChannel = c;
        }
    }
    if (total <= RIX_HISTORY_BUDGET_BYTES)
        return;
    throw nexilon::CInvalidParameterException(
        "rix::CRixModulePlayer::Synchronise", SOURCE_FILE, __LINE__,
        "The song's effects need " + std::to_string(Megabytes(total)) + " MB of echo memory at " +
            std::to_string(std::max(data.bpm, 1)) + " BPM (channel " + std::to_string(largestChannel + 1) + ": " +
            std::to_string(Megabytes(largest)) + " MB), but a song may use at most " +
            std::to_string(Megabytes(RIX_HISTORY_BUDGET_BYTES)) +
            " MB. Shorten or remove delays and flanges, or raise the tempo.");
}

} // namespace

// Holds one nested level of the module's read lock.
class CRixModulePlayer::CDataLock {
public:
    explicit CDataLock(CRixModulePlayer& player) : player(player) { player.LockData(); }
    ~CDataLock() { player.UnlockData(); }
    CDataLock(const CDataLock&) = delete;
    CDataLock& operator=(const CDataLock&) = delete;

private:
    CRixModulePlayer& player;
};

CRixModulePlayer::CRixModulePlayer(TRixHistoryAllocator allocate)
    : CObjectBase(RIX_MODULE_PLAYER_CLASS), allocateHistory(allocate)
{
    format.formatId = RIX_PCM_FORMAT_ID;
    format.size = sizeof(TRixPcmFormat);
    format.fields[0] = 1;
    format.fields[1] = 1;
    format.fields[2] = RIX_SAMPLE_RATE;
}

CRixModulePlayer::~CRixModulePlayer() = default;

nexilon::IObject* CRixModulePlayer::QueryInterface(const nexilon::CId& interfaceId)
{
    if (interfaceId == IRixModulePlayer::Iid || interfaceId == nexilon::IInputStream::Iid ||
        interfaceId == nexilon::IStream::Iid || interfaceId == nexilon::IObject::Iid)
        return Answer();
    return nullptr;
}

void CRixModulePlayer::LockData()
{
    if (dataLockDepth == 0)
        data = module->Lock(nexilon::LOCKMODE_READ);
    ++dataLockDepth;
}

bool CRixModulePlayer::TryLockData()
{
    if (dataLockDepth == 0) {
        data = module->TryLock(nexilon::LOCKMODE_READ);
        if (!data)
            return false;
    }
    ++dataLockDepth;
    return true;
}

void CRixModulePlayer::UnlockData()
{
    if (--dataLockDepth == 0) {
        data = nullptr;
        module->Unlock();
    }
}

void CRixModulePlayer::Close()
{
    nexilon::CBinaryLockGuard guard(lock);
    connected.store(false, std::memory_order_relaxed);
    module.Reset();
}

int32_t CRixModulePlayer::GetCapabilities()
{
    nexilon::CBinaryLockGuard guard(lock);
    return module ? 7 : 0;
}

uint64_t CRixModulePlayer::GetLength()
{
    nexilon::CBinaryLockGuard guard(lock);
    if (!module)
        throw nexilon::COperationNotSupportedException("rix::CRixModulePlayer::GetLength", SOURCE_FILE, __LINE__,
                                                       "Not connected");
    Synchronise();
    // The same 32-bit sample count a seek past the end lands on.
    return static_cast<uint64_t>(songLength * rowLength * RIX_ROWS) * 2;
}

void CRixModulePlayer::Flush()
{
    throw nexilon::COperationNotSupportedException("rix::CRixModulePlayer::Flush", SOURCE_FILE, __LINE__,
                                                   "Flush not supported");
}

void CRixModulePlayer::Seek(uint64_t position)
{
    nexilon::CBinaryLockGuard guard(lock);
    if (!module)
        throw nexilon::COperationNotSupportedException("rix::CRixModulePlayer::Seek", SOURCE_FILE, __LINE__,
                                                       "Not connected to mod");
    SeekLocked(position);
}

uint64_t CRixModulePlayer::Tell()
{
    nexilon::CBinaryLockGuard guard(lock);
    return module ? static_cast<uint64_t>(samplePosition) * 2 : 0;
}

bool CRixModulePlayer::IsEof()
{
    nexilon::CBinaryLockGuard guard(lock);
    return module ? ended : true;
}

void CRixModulePlayer::Read(nexilon::IMediaSample* sample)
{
    if (!sample)
        throw nexilon::CNullPtrException("rix::CRixModulePlayer::Read", SOURCE_FILE, __LINE__, "sample is NULL");
    throw nexilon::CInvalidParameterException("rix::CRixModulePlayer::Read", SOURCE_FILE, __LINE__,
                                              "Media samples are not supported");
}

uint64_t CRixModulePlayer::Read(void* buffer, uint64_t size)
{
    if (!buffer)
        throw nexilon::CNullPtrException("rix::CRixModulePlayer::Read", SOURCE_FILE, __LINE__, "buffer is NULL");
    nexilon::CBinaryLockGuard guard(lock);
    if (!module)
        throw nexilon::CIOException("rix::CRixModulePlayer::Read", SOURCE_FILE, __LINE__, "Not connected to module");
    const auto wanted = static_cast<uint32_t>(std::min<uint64_t>(size, 0xFFFFFFFFu) / 2);
    SynchroniseIfFree();
    auto* out = static_cast<unsigned char*>(buffer);
    uint32_t done = 0;
    while (done < wanted && !ended) {
        if (newRow)
            TriggerRow();
        const uint32_t count = BlockLength(wanted - done);
        int32_t scratch[RIX_MAX_BLOCK];
        int32_t* mix = outputRing.Reserve(count, scratch);
        RenderVoices(mix, count);
        for (uint32_t k = 0; k < count; ++k)
            mix[k] = ClampToPcm(ScaleFloor(mix[k], masterVolume));
        outputRing.Commit(mix, count);
        outputRing.Advance(count);
        for (uint32_t k = 0; k < count; ++k) {
            const auto bits = static_cast<uint16_t>(mix[k]);
            out[2 * k] = static_cast<unsigned char>(bits & 0xFF);
            out[2 * k + 1] = static_cast<unsigned char>(bits >> 8);
        }
        out += 2 * count;
        done += count;
        FinishBlock(count);
        rendered.store(outputRing.Position(), std::memory_order_release);
    }
    return static_cast<uint64_t>(done) * 2;
}

void CRixModulePlayer::Skip(int64_t delta)
{
    nexilon::CBinaryLockGuard guard(lock);
    Seek(Tell() + static_cast<uint64_t>(delta));
}

void CRixModulePlayer::SetChannelEnabled(int32_t channel, bool enabled)
{
    if (connected.load(std::memory_order_relaxed) && channel >= 0 && channel < RIX_CHANNELS)
        voices[static_cast<std::size_t>(channel)].SetEnabled(enabled);
}

int32_t CRixModulePlayer::RowAtTime(float seconds)
{
    nexilon::CBinaryLockGuard guard(lock);
    if (module)
        Synchronise();
    return TruncateToInt32(seconds / rowSeconds);
}

float CRixModulePlayer::TimeOfRow(uint32_t absoluteRow)
{
    nexilon::CBinaryLockGuard guard(lock);
    if (module)
        Synchronise();
    return ToSingle(static_cast<double>(rowSeconds) * absoluteRow + 0.0001);
}

void CRixModulePlayer::SeekToRow(uint32_t absoluteRow)
{
    nexilon::CBinaryLockGuard guard(lock);
    if (!module)
        return;
    Synchronise();
    // A 64-bit product; a row past the song's end goes to the end rather
    // than wrapping onto a row inside the song (the end fits in 32 bits).
    const uint64_t songEnd = static_cast<uint64_t>(songLength) * RIX_ROWS * rowLength;
    SeekLocked(std::min(static_cast<uint64_t>(rowLength) * absoluteRow, songEnd) * 2);
}

void CRixModulePlayer::Connect(IRixModule* newModule)
{
    if (!newModule)
        throw nexilon::CNullPtrException("rix::CRixModulePlayer::Connect", SOURCE_FILE, __LINE__, "module is NULL");
    nexilon::CBinaryLockGuard guard(lock);
    module = nexilon::CPtr<IRixModule>(newModule);
    for (TRixVoice& voice : voices)
        voice.Reset();
    ClearRings();
    rowLength = 0;
    changeCount = 0;
    noise = TRixNoiseGenerator();
    connected.store(true, std::memory_order_relaxed);
    try {
        Synchronise();
        SeekLocked(0);
    } catch (...) {
        // A refused song (or memory running out) leaves the player
        // unconnected rather than half set up.
        Close();
        throw;
    }
    loopPattern.store(false, std::memory_order_relaxed);
}

void CRixModulePlayer::CopyOutput(int32_t channel, uint32_t bytePosition, int32_t* destination, uint32_t count)
{
    nexilon::CBinaryLockGuard guard(lock);
    if (!module || !destination || channel >= RIX_CHANNELS)
        return;
    // Relative to the next sample to render, in 32 bits like the position.
    const int32_t offset = static_cast<int32_t>(bytePosition - samplePosition * 2) / 2;
    const TRixOutputRing& ring = channel >= 0 ? voices[static_cast<std::size_t>(channel)].Ring() : outputRing;
    ring.Copy(offset, destination, count);
}

bool CRixModulePlayer::CopyRendered(int32_t channel, uint64_t end, int32_t* destination, uint32_t count)
{
    if (!destination)
        return false;
    const uint64_t before = rendered.load(std::memory_order_acquire);
    // The writer may be filling the block after `before` meanwhile, in
    // every ring: RIX_MAX_BLOCK samples beyond it (and a voice's ring may
    // trail the mix by one sample at the song's end).
    constexpr uint64_t kInFlight = RIX_MAX_BLOCK + 1;
    const bool inRange = channel < RIX_CHANNELS && count <= TRixOutputRing::SIZE - kInFlight && end <= before &&
                         end >= count && end - count + TRixOutputRing::SIZE >= before + kInFlight;
    if (inRange) {
        const TRixOutputRing& ring = channel >= 0 ? voices[static_cast<std::size_t>(channel)].Ring() : outputRing;
        ring.CopyPositions(end - count, destination, count);
        // Only what the writer did not reach during the copy counts. A
        // read-modify-write (of nothing) keeps the copy before this second
        // look, as a fence would (which ThreadSanitizer cannot follow).
        if (end - count + TRixOutputRing::SIZE >= rendered.fetch_add(0, std::memory_order_acq_rel) + kInFlight)
            return true;
    }
    std::fill_n(destination, count, 0);
    return false;
}

void CRixModulePlayer::SynchroniseIfFree()
{
    if (module->GetChangeCount() == changeCount && rowLength != 0)
        return;
    if (!TryLockData())
        return;
    struct TRelease {
        CRixModulePlayer& player;
        ~TRelease() { player.UnlockData(); }
    } release{*this};
    Synchronise();
}

void CRixModulePlayer::Synchronise()
{
    const uint32_t moduleCount = module->GetChangeCount();
    if (moduleCount == changeCount && rowLength != 0)
        return;
    CDataLock dataLock(*this);
    const auto candidate = static_cast<uint32_t>(RowLengthFromBpm(data->bpm));
    CheckHistoryBudget(*data, candidate);
    if (candidate != rowLength) {
        rowLength = candidate;
        rowSeconds = ToSingle(static_cast<double>(candidate) / RIX_SAMPLE_RATE);
        publishedRowSeconds.store(rowSeconds, std::memory_order_relaxed);
        samplePosition = (orderPosition * RIX_ROWS + row.load(std::memory_order_relaxed)) * rowLength;
        // The nested synchronisation inside the seek brings songLength and
        // the voices up to date before the position is checked.
        SeekLocked(static_cast<uint64_t>(samplePosition) * 2);
    }
    std::copy_n(&data->orderTable[0][0], RIX_CHANNELS * RIX_ORDER_POSITIONS, &arrangement->orderTable[0][0]);
    std::copy_n(&data->patterns[0][0][0], RIX_CHANNELS * RIX_PATTERNS * RIX_ROWS, &arrangement->patterns[0][0][0]);
    songLength = static_cast<uint32_t>(data->GetSongLength());
    masterVolume = data->masterVolume;
    for (int c = 0; c < RIX_CHANNELS; ++c)
        voices[static_cast<std::size_t>(c)].Synchronise(data->channels[c], rowLength, allocateHistory);
    changeCount = moduleCount;
}

void CRixModulePlayer::SeekLocked(uint64_t bytePosition)
{
    Synchronise();
    samplePosition = static_cast<uint32_t>(bytePosition / 2);
    const uint32_t rows = samplePosition / rowLength;
    const uint32_t remainder = samplePosition % rowLength;
    row.store(rows % RIX_ROWS, std::memory_order_relaxed);
    orderPosition = rows / RIX_ROWS;
    if (orderPosition < songLength) {
        ended = false;
        sampleInRow = remainder;
        newRow = true;
    } else {
        orderPosition = songLength;
        samplePosition = songLength * rowLength * RIX_ROWS;
        ended = true;
        sampleInRow = 0;
        newRow = false;
    }
    ClearRings();
    RederiveEnvelopes();
    for (TRixVoice& voice : voices)
        voice.PrepareEffects();
}

void CRixModulePlayer::RederiveEnvelopes()
{
    // Samples since each reset mode's last restart, as if the song had been
    // played from the start; note restarts (mode 3) count from 0.
    const uint32_t orderSamples = RIX_ROWS * rowLength;
    const uint32_t start = samplePosition - row.load(std::memory_order_relaxed) * rowLength - sampleInRow;
    const uint32_t sincePattern = samplePosition - start;
    const uint32_t sinceTwoPatterns =
        orderPosition % 2 == 0 ? sincePattern : samplePosition - (start - orderSamples);
    const uint32_t sinceFourPatterns = samplePosition - (start - (orderPosition % 4) * orderSamples);
    for (TRixVoice& voice : voices) {
        for (TRixEnvelopeState* envelope : voice.Envelopes()) {
            uint32_t elapsed = samplePosition;
            switch (envelope->parameters.resetMode) {
            case RIXRESET_PATTERN:
                elapsed = sincePattern;
                break;
            case RIXRESET_TWO_PATTERNS:
                elapsed = sinceTwoPatterns;
                break;
            case RIXRESET_NOTE:
                elapsed = 0;
                break;
            case RIXRESET_FOUR_PATTERNS:
                elapsed = sinceFourPatterns;
                break;
            default:
                break;
            }
            envelope->Rederive(elapsed / RIX_ENVELOPE_TICK);
        }
    }
}

void CRixModulePlayer::ClearRings()
{
    outputRing.Clear();
    for (TRixVoice& voice : voices)
        voice.Ring().Clear(outputRing.Position());
}

void CRixModulePlayer::TriggerRow()
{
    const uint32_t currentRow = row.load(std::memory_order_relaxed);
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        const uint32_t pattern = orderPosition < RIX_ORDER_POSITIONS ? arrangement->orderTable[c][orderPosition] : 0;
        if (pattern >= RIX_PATTERNS || currentRow >= RIX_ROWS)
            continue;
        const uint32_t note = arrangement->patterns[c][pattern][currentRow];
        if (note == RIX_NOTE_EMPTY)
            continue;
        TRixVoice& voice = voices[static_cast<std::size_t>(c)];
        voice.NoteOn(note);
        for (TRixEnvelopeState* envelope : voice.Envelopes()) {
            if (note == RIX_NOTE_STOP)
                envelope->Release();
            else if (envelope->parameters.resetMode == RIXRESET_NOTE)
                envelope->Restart();
        }
    }
}

uint32_t CRixModulePlayer::BlockLength(uint32_t wanted) const
{
    const uint32_t untilStep = envelopeTick < RIX_ENVELOPE_TICK ? RIX_ENVELOPE_TICK - envelopeTick : 1;
    const uint32_t untilRowEnd = sampleInRow < rowLength ? rowLength - sampleInRow : 1;
    return std::min({wanted, untilStep, untilRowEnd});
}

void CRixModulePlayer::RenderVoices(int32_t* mix, uint32_t count)
{
    // Noise values are drawn per sample in the order carriers of channels
    // 0..7, then transition oscillators of channels 0..7; the block numbers
    // the draws of one sample so each oscillator can find its own.
    uint32_t carrierDraws = 0;
    for (TRixVoice& voice : voices)
        voice.AssignCarrierNoise(carrierDraws);
    uint32_t draws = carrierDraws;
    for (TRixVoice& voice : voices)
        voice.AssignModulatorNoise(draws);
    const TRixNoiseRun run{noise.state, draws != 0 ? TRixNoiseGenerator::Jump(draws) : TRixNoiseGenerator::TJump()};
    for (std::size_t c = 0; c < voices.size(); ++c)
        voices[c].RenderBlock(mix, c != 0, count, run);
    // The transition oscillators' draws of the block's last sample follow
    // in FinishBlock.
    if (draws != 0)
        noise.state = TRixNoiseGenerator::Jump((count - 1) * draws + carrierDraws).Apply(noise.state);
}

void CRixModulePlayer::FinishBlock(uint32_t count)
{
    samplePosition += count;
    sampleInRow += count;
    envelopeTick += count;
    newRow = false;
    if (envelopeTick >= RIX_ENVELOPE_TICK) {
        envelopeTick = 0;
        for (TRixVoice& voice : voices)
            for (TRixEnvelopeState* envelope : voice.Envelopes())
                envelope->Step();
    }
    if (sampleInRow >= rowLength) {
        uint32_t nextRow = row.load(std::memory_order_relaxed) + 1;
        newRow = true;
        sampleInRow = 0;
        if (nextRow >= RIX_ROWS) {
            nextRow = 0;
            if (loopPattern.load(std::memory_order_relaxed)) {
                samplePosition = orderPosition * rowLength * RIX_ROWS;
                ClearRings();
            } else if (++orderPosition >= songLength) {
                newRow = false;
                ended = true;
            }
            PatternRestart();
        }
        row.store(nextRow, std::memory_order_relaxed);
    }
    if (!ended)
        for (TRixVoice& voice : voices)
            voice.Advance(noise);
}

void CRixModulePlayer::PatternRestart()
{
    const bool even = orderPosition % 2 == 0;
    const bool fourth = orderPosition % 4 == 0;
    for (TRixVoice& voice : voices) {
        for (TRixEnvelopeState* envelope : voice.Envelopes()) {
            const int32_t mode = envelope->parameters.resetMode;
            if (mode == RIXRESET_PATTERN || (mode == RIXRESET_TWO_PATTERNS && even) ||
                (mode == RIXRESET_FOUR_PATTERNS && fourth))
                envelope->PatternRestart();
        }
    }
}

namespace {

nexilon::IObject* CreatePlayer()
{
    return static_cast<IRixModulePlayer*>(new CRixModulePlayer());
}

} // namespace

void RegisterPlayerClass()
{
    nexilon::q.GetClassStore().RegisterClassNxl({RIX_MODULE_PLAYER_CLASS, u"rix::CRixModulePlayer", &CreatePlayer});
}

} // namespace rix
