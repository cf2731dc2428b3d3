#include "SdlSound.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "RealtimeScheduling.h"
#include "nexilon/Exceptions.h"

namespace nexilon {

namespace {

constexpr const char* kFile = "SdlSound";

float ToSeconds(uint64_t samples)
{
    return static_cast<float>(static_cast<double>(samples) / CSdlAudioDevice::kSampleRate);
}

void Wake(std::atomic<uint32_t>& ticket)
{
    ticket.fetch_add(1, std::memory_order_release);
    ticket.notify_one();
}

} // namespace

CSdlSound::CSdlSound() : CObjectBase(ClassId) {}

CSdlSound::CSdlSound(CSdlAudioDevice* device, IInputStream* stream)
    : CObjectBase(ClassId), device(device), stream(stream), startPosition(stream->Tell() / 2),
      scratch(CSdlAudioDevice::kChunkFrames * 2)
{
    device->Attach(this);
    renderer = std::thread(&CSdlSound::RenderLoop, this);
}

CSdlSound::~CSdlSound()
{
    if (!device)
        return;
    device->Detach(this);
    quitting = true;
    Wake(renderTicket);
    renderer.join();
}

IObject* CSdlSound::QueryInterface(const CId& interfaceId)
{
    if (interfaceId == ISound::Iid || interfaceId == IObject::Iid)
        return Answer();
    return nullptr;
}

void CSdlSound::Reserved(const char* operation) const
{
    throw COperationNotSupportedException(operation, kFile, __LINE__, "Reserved operation");
}

void CSdlSound::Reserved7() { Reserved("nexilon::CSdlSound::Reserved7"); }
void CSdlSound::Reserved8() { Reserved("nexilon::CSdlSound::Reserved8"); }
void CSdlSound::Reserved9() { Reserved("nexilon::CSdlSound::Reserved9"); }
void CSdlSound::Reserved10() { Reserved("nexilon::CSdlSound::Reserved10"); }
void CSdlSound::Reserved12() { Reserved("nexilon::CSdlSound::Reserved12"); }
void CSdlSound::Reserved15() { Reserved("nexilon::CSdlSound::Reserved15"); }

void CSdlSound::RequireDevice(const char* operation) const
{
    if (!device)
        throw COperationNotSupportedException(operation, kFile, __LINE__, "Sound has no audio device");
}

bool CSdlSound::IsPlaying()
{
    return device && (state.load(std::memory_order_acquire) & kPlaying) != 0;
}

void CSdlSound::NewEpoch(uint64_t flags, bool keepPlaying)
{
    uint64_t current = state.load(std::memory_order_acquire);
    uint64_t next = 0;
    do {
        next = MakeState(EpochOf(current) + 1, flags | (keepPlaying ? current & kPlaying : 0));
    } while (!state.compare_exchange_weak(current, next, std::memory_order_acq_rel));
}

void CSdlSound::Start()
{
    RequireDevice("nexilon::CSdlSound::Start");
    {
        std::lock_guard guard(controlMutex);
        const uint64_t current = state.load(std::memory_order_acquire);
        if (current & kPlaying)
            return;
        if (current & (kStopped | kEnded)) {
            startPosition = 0;
            seekRequested = true;
        }
        failure.clear();
        NewEpoch(kPlaying, false);
    }
    Wake(renderTicket);
}

void CSdlSound::SetPosition(float seconds)
{
    RequireDevice("nexilon::CSdlSound::SetPosition");
    // Beyond 2^40 samples (about 800 years) nothing is left to play anyway.
    const double samples = std::isnan(seconds) ? 0.0
                                               : std::clamp(std::round(static_cast<double>(seconds) *
                                                                       CSdlAudioDevice::kSampleRate),
                                                            0.0, 1099511627776.0);
    {
        std::lock_guard guard(controlMutex);
        startPosition = static_cast<uint64_t>(samples);
        seekRequested = true;
        NewEpoch(0, true);
    }
    Wake(renderTicket);
}

void CSdlSound::Stop()
{
    if (!device)
        return;
    std::lock_guard guard(controlMutex);
    NewEpoch(kStopped, false);
}

float CSdlSound::GetPosition()
{
    return ToSeconds(GetHeardSample());
}

uint64_t CSdlSound::GetHeardSample()
{
    if (!device)
        return 0;
    const uint64_t current = state.load(std::memory_order_acquire);
    if (current & kStopped)
        return 0;
    {
        std::lock_guard guard(device->GetHeardMutex());
        int64_t into = 0;
        if (const TChunk* chunk = HeardChunk(EpochOf(current), into))
            return chunk->jumped ? chunk->position : chunk->position + static_cast<uint64_t>(into);
    }
    // Nothing of this epoch heard yet.
    std::lock_guard guard(controlMutex);
    return startPosition;
}

uint64_t CSdlSound::GetHeardReadCount()
{
    if (!device)
        return 0;
    const uint64_t current = state.load(std::memory_order_acquire);
    std::lock_guard guard(device->GetHeardMutex());
    int64_t into = 0;
    if (const TChunk* chunk = HeardChunk(EpochOf(current), into))
        lastHeardReadCount.store(chunk->readCount + static_cast<uint64_t>(into), std::memory_order_relaxed);
    return lastHeardReadCount.load(std::memory_order_relaxed);
}

const CSdlSound::TChunk* CSdlSound::HeardChunk(uint32_t epoch, int64_t& into) const
{
    if (published.epoch != epoch)
        return nullptr;
    const int64_t heard = device->GetHeardFrame();
    // Newest first: the last run that had begun by the heard frame.
    for (uint32_t i = 1; i <= published.count; ++i) {
        const TChunk& chunk = published.chunks[(published.next + published.chunks.size() - i) % published.chunks.size()];
        if (chunk.frame > heard)
            continue;
        into = std::min<int64_t>(heard - chunk.frame, chunk.count);
        return &chunk;
    }
    return nullptr;
}

std::string CSdlSound::GetFailure()
{
    if (!device)
        return {};
    std::lock_guard guard(controlMutex);
    return failure;
}

void CSdlSound::RenderLoop()
{
    // As urgent as the mixing thread it feeds (where the system allows;
    // else it stays as it is).
    CRealtimeScheduling::Raise(CRealtimeScheduling::CurrentThread());
    uint32_t seen = renderTicket.load(std::memory_order_acquire);
    while (!quitting) {
        device->RaiseMixingThread();
        RenderAhead();
        renderTicket.wait(seen, std::memory_order_acquire);
        seen = renderTicket.load(std::memory_order_acquire);
    }
}

void CSdlSound::RenderAhead()
{
    while (!quitting) {
        const uint64_t aheadBlocks = aheadFrames.load(std::memory_order_relaxed) / CSdlAudioDevice::kChunkFrames;
        const uint64_t current = state.load(std::memory_order_acquire);
        if ((current & kPlaying) == 0)
            return;
        if (EpochOf(current) != renderedEpoch) {
            BeginEpoch();
            continue;
        }
        if (streamEnded)
            return;
        const uint64_t write = writeIndex.load(std::memory_order_relaxed);
        const uint64_t read = readIndex.load(std::memory_order_acquire);
        if (write - std::max(read, epochFirstBlock) >= aheadBlocks || write - read >= kBlocks)
            return;

        uint32_t got = 0;
        uint64_t reached = streamPosition;
        if (!epochFailed) {
            try {
                got = static_cast<uint32_t>(
                    std::min<uint64_t>(stream->Read(scratch.data(), scratch.size()) / 2, CSdlAudioDevice::kChunkFrames));
                reached = stream->Tell() / 2;
            } catch (const std::exception& error) {
                Fail(error.what());
                got = 0;
            } catch (...) {
                Fail("The sound's stream failed");
                got = 0;
            }
        }
        TBlock& block = blocks[write % kBlocks];
        block.epoch = renderedEpoch;
        block.count = got;
        block.position = streamPosition;
        block.reached = reached;
        block.readCount = readCount;
        block.end = got == 0;
        for (uint32_t i = 0; i < got; ++i)
            block.samples[i] = static_cast<int16_t>(static_cast<uint16_t>(scratch[2 * i] | (scratch[2 * i + 1] << 8)));
        writeIndex.store(write + 1, std::memory_order_release);
        streamPosition = reached;
        streamEnded = got == 0;
        readCount += got;
    }
}

void CSdlSound::BeginEpoch()
{
    bool seek = false;
    uint64_t position = 0;
    {
        std::lock_guard guard(controlMutex);
        renderedEpoch = EpochOf(state.load(std::memory_order_acquire));
        seek = std::exchange(seekRequested, false);
        position = startPosition;
    }
    epochFirstBlock = writeIndex.load(std::memory_order_relaxed);
    streamEnded = false;
    epochFailed = false;
    try {
        if (seek)
            stream->Seek(position * 2);
        streamPosition = stream->Tell() / 2;
    } catch (const std::exception& error) {
        Fail(error.what());
    } catch (...) {
        Fail("The sound's stream failed");
    }
}

void CSdlSound::Fail(const std::string& reason)
{
    epochFailed = true;
    std::lock_guard guard(controlMutex);
    if (EpochOf(state.load(std::memory_order_acquire)) == renderedEpoch)
        failure = reason.empty() ? "The sound's stream failed" : reason;
}

uint32_t CSdlSound::MixInto(int32_t* sum, uint32_t frames, int64_t firstFrame)
{
    const uint64_t current = state.load(std::memory_order_acquire);
    const uint32_t epoch = EpochOf(current);
    const uint64_t write = writeIndex.load(std::memory_order_acquire);
    const uint64_t firstRead = readIndex.load(std::memory_order_relaxed);
    uint64_t read = firstRead;
    // Blocks of an older epoch go unheard.
    while (read < write && blocks[read % kBlocks].epoch < epoch) {
        ++read;
        frontOffset = 0;
    }
    uint32_t lacking = 0;
    const bool playing = (current & kPlaying) != 0;
    if (playing && mixedEpoch != epoch) {
        // A new epoch begins once its whole render-ahead is ready, so that
        // it never starts with a gap; that takes the render thread well
        // under a millisecond.
        uint64_t ready = 0;
        bool end = false;
        for (uint64_t i = read; i < write && blocks[i % kBlocks].epoch == epoch; ++i) {
            ready += blocks[i % kBlocks].count;
            end = end || blocks[i % kBlocks].end;
        }
        if (ready >= kRenderAheadFrames || end) {
            mixedEpoch = epoch;
            frontOffset = 0;
            record = TRecord();
            record.epoch = epoch;
            recordChanged = true;
        }
    }
    if (playing && mixedEpoch == epoch) {
        uint32_t done = 0;
        while (done < frames) {
            if (read == write) {
                lacking = frames - done;
                break;
            }
            const TBlock& block = blocks[read % kBlocks];
            if (block.epoch != epoch)
                break;
            if (block.end) {
                // Only a playing epoch ends; an operation that came first wins.
                uint64_t expected = current;
                state.compare_exchange_strong(expected, MakeState(epoch, kEnded), std::memory_order_acq_rel);
                ++read;
                frontOffset = 0;
                break;
            }
            const uint32_t count = std::min(block.count - frontOffset, frames - done);
            for (uint32_t i = 0; i < count; ++i)
                sum[done + i] += block.samples[frontOffset + i];
            Remember(firstFrame + done, block, frontOffset, count);
            frontOffset += count;
            done += count;
            if (frontOffset == block.count) {
                ++read;
                frontOffset = 0;
            }
        }
    }
    if (lacking > 0) {
        underruns.fetch_add(1, std::memory_order_relaxed);
        const uint32_t ahead = aheadFrames.load(std::memory_order_relaxed);
        aheadFrames.store(std::min(ahead + CSdlAudioDevice::kChunkFrames * 4, kMaxRenderAheadFrames),
                          std::memory_order_relaxed);
        Wake(renderTicket);
    }
    if (read != firstRead) {
        readIndex.store(read, std::memory_order_release);
        Wake(renderTicket);
    }
    return lacking;
}

void CSdlSound::Remember(int64_t frame, const TBlock& block, uint32_t offset, uint32_t count)
{
    const bool jumped = block.reached != block.position + block.count;
    record.chunks[record.next] = {frame, jumped ? block.reached : block.position + offset, block.readCount + offset, count,
                                  jumped};
    record.next = (record.next + 1) % static_cast<uint32_t>(record.chunks.size());
    record.count = std::min(record.count + 1, static_cast<uint32_t>(record.chunks.size()));
    recordChanged = true;
}

void CSdlSound::Publish()
{
    if (!recordChanged)
        return;
    published = record;
    recordChanged = false;
}

IObject* CreateSound()
{
    return static_cast<ISound*>(new CSdlSound());
}

} // namespace nexilon
