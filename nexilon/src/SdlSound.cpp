#include "SdlSound.h"

#include <algorithm>
#include <cmath>

#include "nexilon/Exceptions.h"

namespace nexilon {

namespace {

constexpr const char* kFile = "SdlSound";

float ToSeconds(uint64_t samples)
{
    return static_cast<float>(static_cast<double>(samples) / CSdlAudioDevice::kSampleRate);
}

} // namespace

CSdlSound::CSdlSound() : CObjectBase(ClassId) {}

CSdlSound::CSdlSound(CSdlAudioDevice* device, IInputStream* stream)
    : CObjectBase(ClassId), device(device), stream(stream), startPosition(stream->Tell() / 2)
{
    std::lock_guard guard(device->GetMixLock());
    device->Attach(this);
}

CSdlSound::~CSdlSound()
{
    if (!device)
        return;
    // Once detached under the lock, the mixing thread cannot be inside this
    // sound any more.
    std::lock_guard guard(device->GetMixLock());
    device->Detach(this);
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
    if (!device)
        return false;
    std::lock_guard guard(device->GetMixLock());
    return playing;
}

void CSdlSound::Start()
{
    RequireDevice("nexilon::CSdlSound::Start");
    std::lock_guard guard(device->GetMixLock());
    if (playing)
        return;
    if (stopped || ended)
        stream->Seek(0);
    Forget(stream->Tell() / 2);
    stopped = false;
    ended = false;
    playing = true;
}

void CSdlSound::SetPosition(float seconds)
{
    RequireDevice("nexilon::CSdlSound::SetPosition");
    // Beyond 2^40 samples (about 800 years) nothing is left to play anyway.
    const double samples = std::isnan(seconds) ? 0.0
                                               : std::clamp(std::round(static_cast<double>(seconds) *
                                                                       CSdlAudioDevice::kSampleRate),
                                                            0.0, 1099511627776.0);
    const auto position = static_cast<uint64_t>(samples);
    std::lock_guard guard(device->GetMixLock());
    stream->Seek(position * 2);
    Forget(position);
    stopped = false;
    ended = false;
}

void CSdlSound::Stop()
{
    if (!device)
        return;
    std::lock_guard guard(device->GetMixLock());
    playing = false;
    stopped = true;
}

float CSdlSound::GetPosition()
{
    return ToSeconds(GetHeardSample());
}

std::string CSdlSound::GetFailure()
{
    if (!device)
        return {};
    std::lock_guard guard(device->GetMixLock());
    return failure;
}

uint64_t CSdlSound::GetHeardSample()
{
    if (!device)
        return 0;
    std::lock_guard guard(device->GetMixLock());
    if (stopped)
        return 0;
    const int64_t heard = device->GetHeardFrame();
    // Newest first: the last run that had begun by the heard frame.
    for (uint32_t i = 1; i <= chunkCount; ++i) {
        const TChunk& chunk = chunks[(nextChunk + kChunks - i) % kChunks];
        if (chunk.frame > heard)
            continue;
        if (chunk.jumped)
            return chunk.position;
        const auto into = static_cast<uint64_t>(std::min<int64_t>(heard - chunk.frame, chunk.count));
        return chunk.position + into;
    }
    return startPosition;
}

void CSdlSound::MixInto(int32_t* sum, uint32_t frames, int64_t firstFrame, uint8_t* scratch)
{
    uint32_t done = 0;
    uint64_t position = 0;
    // An exception must not reach SDL's C thread: a failing stream simply
    // ends the sound.
    try {
        position = playing ? stream->Tell() / 2 : 0;
    } catch (...) {
        playing = false;
        ended = true;
    }
    while (playing && done < frames) {
        const uint32_t wanted = std::min(frames - done, CSdlAudioDevice::kChunkFrames);
        uint32_t got = 0;
        uint64_t reached = 0;
        try {
            got = static_cast<uint32_t>(std::min<uint64_t>(stream->Read(scratch, wanted * 2) / 2, wanted));
            reached = stream->Tell() / 2;
        } catch (...) {
            got = 0;
        }
        if (got == 0) {
            playing = false;
            ended = true;
            break;
        }
        for (uint32_t i = 0; i < got; ++i) {
            const auto sample = static_cast<int16_t>(static_cast<uint16_t>(scratch[2 * i] | (scratch[2 * i + 1] << 8)));
            sum[done + i] += sample;
        }
        Remember(firstFrame + done, position, got, reached);
        position = reached;
        done += got;
    }
}

void CSdlSound::Forget(uint64_t position)
{
    startPosition = position;
    chunkCount = 0;
    nextChunk = 0;
}

void CSdlSound::Remember(int64_t frame, uint64_t position, uint32_t count, uint64_t reached)
{
    // Where inside the run a stream jumped (a looping player) is unknown;
    // the position it reached is one it really plays, at most a run away.
    const bool jumped = reached != position + count;
    chunks[nextChunk] = {frame, jumped ? reached : position, count, jumped};
    nextChunk = (nextChunk + 1) % kChunks;
    chunkCount = std::min(chunkCount + 1, kChunks);
}

IObject* CreateSound()
{
    return static_cast<ISound*>(new CSdlSound());
}

} // namespace nexilon
