#include "RixReplayStream.h"

#include <algorithm>

#include "nexilon/Exceptions.h"

namespace rix {

namespace {

constexpr const char* SOURCE_FILE = "RixReplayStream";

} // namespace

CRixReplayStream::CRixReplayStream(const TRixSongTables& songTables)
    : CObjectBase(RIX_REPLAY_STREAM_CLASS), tables(songTables),
      renderer(std::make_unique<CRixReplayRenderer>(tables))
{
    format.formatId = RIX_PCM_FORMAT_ID;
    format.size = sizeof(TRixPcmFormat);
    format.fields[0] = 1;
    format.fields[1] = 1;
    format.fields[2] = RIX_SAMPLE_RATE;
    songSamples = renderer->SongSamples();
}

CRixReplayStream::~CRixReplayStream() = default;

nexilon::IObject* CRixReplayStream::QueryInterface(const nexilon::CId& interfaceId)
{
    if (interfaceId == nexilon::IInputStream::Iid || interfaceId == nexilon::IStream::Iid ||
        interfaceId == nexilon::IObject::Iid)
        return Answer();
    return nullptr;
}

void CRixReplayStream::Close()
{
    renderer.reset();
}

int32_t CRixReplayStream::GetCapabilities()
{
    return renderer ? 7 : 0;
}

uint64_t CRixReplayStream::GetLength()
{
    return songSamples * 2;
}

void CRixReplayStream::Flush()
{
    throw nexilon::COperationNotSupportedException("rix::CRixReplayStream::Flush", SOURCE_FILE, __LINE__,
                                                   "Flush not supported");
}

void CRixReplayStream::Seek(uint64_t bytePosition)
{
    if (!renderer)
        throw nexilon::COperationNotSupportedException("rix::CRixReplayStream::Seek", SOURCE_FILE, __LINE__,
                                                       "Closed");
    const uint64_t target = std::min(bytePosition / 2, songSamples);
    if (target < position) {
        // Only one routine per process: the old one goes first.
        renderer.reset();
        renderer = std::make_unique<CRixReplayRenderer>(tables);
        position = 0;
    }
    while (position < target) {
        const auto count = static_cast<uint32_t>(std::min<uint64_t>(target - position, scratch.size()));
        renderer->Render(scratch.data(), count);
        position += count;
    }
}

uint64_t CRixReplayStream::Tell()
{
    return position * 2;
}

bool CRixReplayStream::IsEof()
{
    return !renderer || position >= songSamples;
}

void CRixReplayStream::Read(nexilon::IMediaSample* sample)
{
    if (!sample)
        throw nexilon::CNullPtrException("rix::CRixReplayStream::Read", SOURCE_FILE, __LINE__, "sample is NULL");
    throw nexilon::CInvalidParameterException("rix::CRixReplayStream::Read", SOURCE_FILE, __LINE__,
                                              "Media samples are not supported");
}

uint64_t CRixReplayStream::Read(void* buffer, uint64_t size)
{
    if (!buffer)
        throw nexilon::CNullPtrException("rix::CRixReplayStream::Read", SOURCE_FILE, __LINE__, "buffer is NULL");
    if (!renderer)
        throw nexilon::CIOException("rix::CRixReplayStream::Read", SOURCE_FILE, __LINE__, "Closed");
    const uint64_t wanted = std::min<uint64_t>(size / 2, songSamples - position);
    auto* out = static_cast<unsigned char*>(buffer);
    for (uint64_t done = 0; done < wanted;) {
        const auto count = static_cast<uint32_t>(std::min<uint64_t>(wanted - done, scratch.size()));
        renderer->Render(scratch.data(), count);
        for (uint32_t k = 0; k < count; ++k, out += 2) {
            const auto bits = static_cast<uint16_t>(scratch[k]);
            out[0] = static_cast<unsigned char>(bits & 0xFF);
            out[1] = static_cast<unsigned char>(bits >> 8);
        }
        done += count;
    }
    position += wanted;
    return wanted * 2;
}

void CRixReplayStream::Skip(int64_t delta)
{
    Seek(Tell() + static_cast<uint64_t>(delta));
}

} // namespace rix
