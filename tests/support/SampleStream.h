#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "nexilon/Exceptions.h"
#include "nexilon/ObjectBase.h"
#include "nexilon/Ptr.h"
#include "nexilon/Stream.h"

// A thread-safe input stream over 16-bit samples for audio output tests:
// the audio thread reads it while the test asks where it is, without a lock
// that a preempted test thread could hold while the sound's render thread
// waits for it (the sound would run dry). Its Read can be made to throw.
class CSampleStream final : public nexilon::CObjectBase<nexilon::IInputStream> {
public:
    static nexilon::CPtr<CSampleStream> Create(std::vector<int16_t> samples)
    {
        return nexilon::CPtr<CSampleStream>::Adopt(new CSampleStream(std::move(samples)));
    }

    nexilon::IObject* QueryInterface(const nexilon::CId& id) override
    {
        if (id == nexilon::IInputStream::Iid || id == nexilon::IStream::Iid || id == nexilon::IObject::Iid)
            return Answer();
        return nullptr;
    }
    void Close() override {}
    int32_t GetCapabilities() override { return 15; }
    uint64_t GetLength() override { return samples.size() * 2; }
    void Flush() override {}
    void Seek(uint64_t bytePosition) override
    {
        std::lock_guard guard(mutex);
        position = std::min<uint64_t>(bytePosition / 2, samples.size());
    }
    uint64_t Tell() override { return position * 2; }
    bool IsEof() override { return Tell() == samples.size() * 2; }
    const nexilon::TStreamFormat* GetFormat() override { return &format; }
    void Read(nexilon::IMediaSample*) override {}
    uint64_t Read(void* buffer, uint64_t size) override
    {
        if (failing)
            throw nexilon::CIOException("CSampleStream::Read", "SampleStream", __LINE__, "failing on purpose");
        std::lock_guard guard(mutex);
        auto* bytes = static_cast<uint8_t*>(buffer); // little-endian, like the module player's output
        uint64_t count = 0;
        for (uint64_t at = position; count < size / 2 && at < samples.size(); ++count, ++at) {
            const auto value = static_cast<uint16_t>(samples[at]);
            bytes[2 * count] = static_cast<uint8_t>(value & 0xFF);
            bytes[2 * count + 1] = static_cast<uint8_t>(value >> 8);
        }
        position += count;
        return count * 2;
    }
    bool IsFeatureSupported(uint32_t) override { return false; }
    void Skip(int64_t delta) override { Seek(Tell() + static_cast<uint64_t>(delta)); }

    void SetFailing(bool fail) { failing = fail; }

private:
    explicit CSampleStream(std::vector<int16_t> samples)
        : CObjectBase(nexilon::CId(0x5A3B1E00, 1, 2, 3)), samples(std::move(samples))
    {
    }

    const std::vector<int16_t> samples;
    const nexilon::TStreamFormat format{};
    // Serialises Read and Seek; Tell reads the position without it.
    std::mutex mutex;
    std::atomic<uint64_t> position{0};
    std::atomic<bool> failing{false};
};

// Distinct non-zero samples of both signs, so a recording shows any sample
// that is lost, repeated or moved.
inline std::vector<int16_t> NonZeroPattern(std::size_t count)
{
    std::vector<int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = static_cast<int16_t>((i % 2 ? -1 : 1) * static_cast<int>(1 + (i * 131) % 32000));
    return samples;
}
