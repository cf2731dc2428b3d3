#include "SdlAudioDevice.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "RealtimeScheduling.h"
#include "SdlSound.h"
#include "nexilon/Exceptions.h"
#include "nexilon/InputStreamSelector.h"

namespace nexilon {

namespace {

constexpr const char* kFile = "SdlAudioDevice";
// 11.6 ms per buffer: short enough for a tracker's key-to-sound delay.
// SDL wants a power of two (other sizes overrun its buffers after a driver
// fallback). Its dummy and disk drivers wait the buffer's length in whole
// milliseconds (11 ms), so they run 5 percent faster than real time.
constexpr Uint16 kBufferFrames = 512;

// SDL's subsystem and device set-up is process-wide and not thread-safe.
std::mutex& SdlMutex()
{
    static std::mutex mutex;
    return mutex;
}

void SDLCALL MixCallback(void* device, Uint8* output, int size)
{
    static_cast<CSdlAudioDevice*>(device)->Mix(output, size);
}

// The first device of the process picks the driver; later ones share it.
// After a fallback the dummy driver stays: trying a failed driver again
// after SDL unloaded it has corrupted ALSA's heap. Under SdlMutex.
bool fellBack = false;

void ChooseDriver()
{
    // Audio brings in SDL's event subsystem, which would otherwise take
    // SIGINT and SIGTERM for itself and leave the program running when the
    // desktop or a terminal asks it to end.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && !fellBack) {
        const char* requested = std::getenv("SONRIX_AUDIO_DRIVER");
        if (requested && *requested)
            SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, requested, SDL_HINT_OVERRIDE);
    }
}

// Opens the named output (null: the default) of the driver SDL's hint
// currently names; 0 and the reason when that fails (the audio subsystem
// is then released again).
SDL_AudioDeviceID OpenWithCurrentDriver(const char* name, const SDL_AudioSpec& wanted, SDL_AudioSpec& obtained,
                                        std::string& failure)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        failure = SDL_GetError();
        return 0;
    }
    SDL_AudioDeviceID id = SDL_OpenAudioDevice(name, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (id == 0 && name) {
        failure = SDL_GetError();
        id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    }
    if (id == 0) {
        failure = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    return id;
}

} // namespace

CSdlAudioDevice::CSdlAudioDevice() : CObjectBase(ClassId) {}

CSdlAudioDevice::~CSdlAudioDevice()
{
    std::lock_guard sdl(SdlMutex());
    if (deviceId == 0)
        return;
    // Waits for SDL's audio thread, so Mix is not running afterwards.
    SDL_CloseAudioDevice(deviceId);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

IObject* CSdlAudioDevice::QueryInterface(const CId& interfaceId)
{
    if (interfaceId == IAudioDevice::Iid || interfaceId == IObject::Iid)
        return Answer();
    return nullptr;
}

void CSdlAudioDevice::Reserved7()
{
    throw COperationNotSupportedException("nexilon::CSdlAudioDevice::Reserved7", kFile, __LINE__,
                                          "Reserved operation");
}

void CSdlAudioDevice::Open()
{
    std::lock_guard sdl(SdlMutex());
    if (deviceId != 0)
        return;

    SDL_AudioSpec wanted{};
    wanted.freq = kSampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = kBufferFrames;
    wanted.callback = &MixCallback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};

    ChooseDriver();
    const char* name = outputName.empty() ? nullptr : outputName.c_str();
    std::string failure;
    SDL_AudioDeviceID id = OpenWithCurrentDriver(name, wanted, obtained, failure);
    if (id != 0 && name && !failure.empty())
        outputNote = "The audio output \"" + outputName + "\" is not available; playing on the default output";
    if (id == 0) {
        // Switching drivers needs the subsystem down; while another device
        // holds it, its driver works and this failure is real.
        if (SDL_WasInit(SDL_INIT_AUDIO) != 0)
            throw CIOException("nexilon::CSdlAudioDevice::Open", kFile, __LINE__,
                               "Cannot open the audio output: " + failure);
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        const bool firstFallback = !fellBack;
        fellBack = true;
        std::string dummyFailure;
        id = OpenWithCurrentDriver(nullptr, wanted, obtained, dummyFailure);
        if (id == 0)
            throw CIOException("nexilon::CSdlAudioDevice::Open", kFile, __LINE__,
                               "Cannot open the audio output: " + failure + "; " + dummyFailure);
        outputNote = "No audio output could be opened; playback is silent";
        if (firstFallback)
            std::fprintf(stderr, "nexilon: no audio device could be opened (%s); playback is silent\n",
                         failure.c_str());
    }

    const char* driver = SDL_GetCurrentAudioDriver();
    const bool consumesWhileWaiting = driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "disk") == 0);
    // SDL calls Mix only once unpaused, which orders these before it.
    sum.assign(std::max<Uint16>(obtained.samples, 1), 0);
    latencyFrames = consumesWhileWaiting ? 0 : obtained.samples;
    deviceId = id;
    SDL_PauseAudioDevice(id, 0);
}

ISound* CSdlAudioDevice::CreateSound(const CInputStreamSelector& selector, uint32_t mode)
{
    if (mode != SOUND_MODE_STREAMED)
        throw CInvalidParameterException("nexilon::CSdlAudioDevice::CreateSound", kFile, __LINE__,
                                         "Unsupported sound mode " + std::to_string(mode));
    IInputStream* stream = selector.GetInputStreamTmp();
    if (!stream)
        throw CNullPtrException("nexilon::CSdlAudioDevice::CreateSound", kFile, __LINE__, "Given stream is NULL");
    Open();
    return new CSdlSound(this, stream);
}

std::vector<std::string> CSdlAudioDevice::ListOutputDevices()
{
    std::lock_guard sdl(SdlMutex());
    ChooseDriver();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return {};
    std::vector<std::string> names;
    const int count = SDL_GetNumAudioDevices(0);
    for (int i = 0; i < count; ++i)
        if (const char* name = SDL_GetAudioDeviceName(i, 0))
            names.emplace_back(name);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return names;
}

void CSdlAudioDevice::SetOutputDevice(const std::string& name)
{
    std::lock_guard sdl(SdlMutex());
    outputName = name;
}

std::string CSdlAudioDevice::GetOutputDeviceNote()
{
    std::lock_guard sdl(SdlMutex());
    return outputNote;
}

TAudioCallbackTiming CSdlAudioDevice::GetCallbackTiming()
{
    TAudioCallbackTiming timing;
    timing.callbacks = callbacks.load(std::memory_order_relaxed);
    timing.longestMicroseconds = longestCallback.load(std::memory_order_relaxed);
    timing.underrunFrames = underrunFrames.load(std::memory_order_relaxed);
    timing.underruns = underrunCount.load(std::memory_order_acquire);
    return timing;
}

std::vector<TUnderrun> CSdlAudioDevice::GetUnderruns()
{
    const uint64_t count = underrunCount.load(std::memory_order_acquire);
    const uint64_t kept = std::min<uint64_t>(count, underrunLog.size());
    std::vector<TUnderrun> underruns;
    for (uint64_t i = count - kept; i < count; ++i) {
        const TUnderrunSlot& slot = underrunLog[i % underrunLog.size()];
        underruns.push_back({slot.frame.load(std::memory_order_relaxed), slot.frames.load(std::memory_order_relaxed)});
    }
    return underruns;
}

void CSdlAudioDevice::Record(int64_t frame, uint32_t frames)
{
    const uint64_t count = underrunCount.load(std::memory_order_relaxed);
    TUnderrunSlot& slot = underrunLog[count % underrunLog.size()];
    slot.frame.store(frame, std::memory_order_relaxed);
    slot.frames.store(frames, std::memory_order_relaxed);
    underrunCount.store(count + 1, std::memory_order_release);
}

void CSdlAudioDevice::RaiseMixingThread()
{
    int64_t thread = mixingThread.load(std::memory_order_acquire);
    if (thread > 0 && mixingThread.compare_exchange_strong(thread, -1))
        CRealtimeScheduling::Raise(static_cast<pid_t>(thread));
}

void CSdlAudioDevice::Attach(CSdlSound* sound)
{
    std::lock_guard guard(slotMutex);
    for (std::atomic<CSdlSound*>& slot : slots)
        if (!slot.load()) {
            slot.store(sound);
            return;
        }
    throw CIOException("nexilon::CSdlAudioDevice::Attach", kFile, __LINE__,
                       "Too many sounds (" + std::to_string(kMaxSounds) + ") on one audio output");
}

void CSdlAudioDevice::Detach(CSdlSound* sound)
{
    {
        std::lock_guard guard(slotMutex);
        for (std::atomic<CSdlSound*>& slot : slots)
            if (slot.load() == sound)
                slot.store(nullptr);
    }
    // A Mix that began before the slot was emptied may still be inside the
    // sound; one that begins later cannot see it. Mix never waits, so this
    // lasts at most one callback.
    const uint32_t serial = mixSerial.load();
    if (serial % 2 == 1)
        while (mixSerial.load() == serial)
            std::this_thread::yield();
}

int64_t CSdlAudioDevice::GetHeardFrame() const
{
    if (!anyBuffer)
        return -1;
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                               lastBufferTime);
    const int64_t into = std::clamp<int64_t>(elapsed.count() * kSampleRate / 1000000, 0, lastBufferFrames);
    return lastBufferFrame + into - latencyFrames;
}

void CSdlAudioDevice::Mix(uint8_t* output, int size)
{
    const auto begun = std::chrono::steady_clock::now();
    mixSerial.fetch_add(1);
    if (mixingThread.load(std::memory_order_relaxed) == 0) {
        // SDL's own raise is a nice level at most; a real-time one where the
        // process may set it, else a render thread asks RealtimeKit.
        const pid_t self = CRealtimeScheduling::CurrentThread();
        mixingThread.store(CRealtimeScheduling::RaiseDirectly(self) ? -1 : self, std::memory_order_release);
    }
    const int64_t frames = std::max(size, 0) / 2;
    int64_t done = 0;
    uint64_t lacking = 0;
    while (done < frames && !sum.empty()) {
        const auto count = static_cast<uint32_t>(std::min<int64_t>(frames - done, static_cast<int64_t>(sum.size())));
        std::fill_n(sum.data(), count, 0);
        for (std::atomic<CSdlSound*>& slot : slots)
            if (CSdlSound* sound = slot.load())
                if (const uint32_t gap = sound->MixInto(sum.data(), count, framesMixed + done)) {
                    // A sound's gap ends its part of the chunk.
                    lacking += gap;
                    Record(framesMixed + done + count - gap, gap);
                }
        for (uint32_t i = 0; i < count; ++i) {
            const auto sample = static_cast<int16_t>(std::clamp<int32_t>(sum[i], -32768, 32767));
            std::memcpy(output + (done + i) * 2, &sample, 2);
        }
        done += count;
    }
    std::memset(output + done * 2, 0, static_cast<size_t>(size) - static_cast<size_t>(done * 2));
    // Whoever holds heardMutex holds it for a copy; rather than wait, this
    // buffer's record goes out with the next one.
    if (heardMutex.try_lock()) {
        lastBufferTime = begun;
        lastBufferFrame = framesMixed;
        lastBufferFrames = frames;
        anyBuffer = true;
        for (std::atomic<CSdlSound*>& slot : slots)
            if (CSdlSound* sound = slot.load())
                sound->Publish();
        heardMutex.unlock();
    }
    framesMixed += frames;
    mixSerial.fetch_add(1);

    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - begun);
    callbacks.store(callbacks.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    longestCallback.store(std::max<uint64_t>(longestCallback.load(std::memory_order_relaxed),
                                             static_cast<uint64_t>(took.count())),
                          std::memory_order_relaxed);
    underrunFrames.store(underrunFrames.load(std::memory_order_relaxed) + lacking, std::memory_order_relaxed);
}

IObject* CreateAudioDevice()
{
    return static_cast<IAudioDevice*>(new CSdlAudioDevice());
}

} // namespace nexilon
