#include "MfcFileInputStream.h"

#include "Archive.h"
#include "File.h"
#include "nexilon/Exceptions.h"

namespace rix {

namespace {

constexpr const char* kSource = "MfcFileInputStream";

} // namespace

nexilon::IObject* CMfcFileInputStream::Create()
{
    return static_cast<IMfcFileInputStream*>(new CMfcFileInputStream());
}

nexilon::IObject* CMfcFileInputStream::QueryInterface(const nexilon::CId& interfaceId)
{
    if (interfaceId == IMfcFileInputStream::Iid || interfaceId == nexilon::IInputStream::Iid ||
        interfaceId == nexilon::IStream::Iid || interfaceId == nexilon::IObject::Iid)
        return Answer();
    return nullptr;
}

CFile& CMfcFileInputStream::RequireFile(const char* operation) const
{
    if (!file)
        throw nexilon::COperationNotSupportedException(operation, kSource, __LINE__, "Not connected");
    return *file;
}

void CMfcFileInputStream::Close()
{
    if (file)
        file->Close();
}

int32_t CMfcFileInputStream::GetCapabilities()
{
    return file ? 15 : 0;
}

uint64_t CMfcFileInputStream::GetLength()
{
    return RequireFile("rix::CMfcFileInputStream::GetLength").GetLength();
}

void CMfcFileInputStream::Flush()
{
    RequireFile("rix::CMfcFileInputStream::Flush").Flush();
}

void CMfcFileInputStream::Seek(uint64_t position)
{
    CFile& connected = RequireFile("rix::CMfcFileInputStream::Seek");
    connected.Seek(static_cast<int64_t>(position), CFile::begin);
    // Landing on the end counts as the end; landing before it does not undo
    // an end already seen, which only the next Read decides.
    if (connected.GetPosition() == connected.GetLength())
        atEnd = true;
}

uint64_t CMfcFileInputStream::Tell()
{
    return RequireFile("rix::CMfcFileInputStream::Tell").GetPosition();
}

const nexilon::TStreamFormat* CMfcFileInputStream::GetFormat()
{
    static const nexilon::TStreamFormat bytes{nexilon::CId(), sizeof(nexilon::TStreamFormat)};
    return &bytes;
}

void CMfcFileInputStream::Read(nexilon::IMediaSample*)
{
    throw nexilon::COperationNotSupportedException("rix::CMfcFileInputStream::Read", kSource, __LINE__,
                                                   "Media samples are not supported");
}

uint64_t CMfcFileInputStream::Read(void* buffer, uint64_t size)
{
    if (!buffer)
        throw nexilon::CNullPtrException("rix::CMfcFileInputStream::Read", kSource, __LINE__, "buffer is NULL");
    CFile& connected = RequireFile("rix::CMfcFileInputStream::Read");
    // The file reads at most 32 bits' worth at once; a larger request gets
    // the low 32 bits of its size and so always counts as reaching the end.
    const uint64_t count = connected.Read(buffer, static_cast<uint32_t>(size));
    atEnd = count < size;
    return count;
}

void CMfcFileInputStream::Skip(int64_t)
{
    if (!file)
        throw nexilon::CIOException("rix::CMfcFileInputStream::Skip", kSource, __LINE__, "Not connected");
}

void CMfcFileInputStream::Connect(CArchive* archive)
{
    Disconnect();
    if (!archive)
        return;
    if (!archive->IsLoading())
        throw nexilon::CIOException("rix::CMfcFileInputStream::Connect", kSource, __LINE__,
                                    "Archive is not in loading state");
    Connect(archive->GetFile());
}

void CMfcFileInputStream::Connect(CFile* newFile)
{
    Disconnect();
    if (!newFile)
        return;
    if (newFile->GetHandle() == CFile::hFileNull)
        throw nexilon::CIOException("rix::CMfcFileInputStream::Connect", kSource, __LINE__, "Handle is NULL");
    file = newFile;
    atEnd = false;
    Seek(0);
}

void CMfcFileInputStream::Disconnect()
{
    file = nullptr;
    atEnd = true;
}

} // namespace rix
