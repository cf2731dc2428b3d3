#include "MfcFileOutputStream.h"

#include "Archive.h"
#include "File.h"
#include "nexilon/Exceptions.h"

namespace rix {

namespace {

constexpr const char* kSource = "MfcFileOutputStream";

} // namespace

nexilon::IObject* CMfcFileOutputStream::Create()
{
    return static_cast<IMfcFileOutputStream*>(new CMfcFileOutputStream());
}

nexilon::IObject* CMfcFileOutputStream::QueryInterface(const nexilon::CId& interfaceId)
{
    if (interfaceId == IMfcFileOutputStream::Iid || interfaceId == nexilon::IOutputStream::Iid ||
        interfaceId == nexilon::IStream::Iid || interfaceId == nexilon::IObject::Iid)
        return Answer();
    return nullptr;
}

CFile& CMfcFileOutputStream::RequireFile(const char* operation) const
{
    if (!file)
        throw nexilon::COperationNotSupportedException(operation, kSource, __LINE__, "Not connected");
    return *file;
}

void CMfcFileOutputStream::Close()
{
    if (file)
        file->Close();
}

int32_t CMfcFileOutputStream::GetCapabilities()
{
    return file ? 11 : 0;
}

uint64_t CMfcFileOutputStream::GetLength()
{
    throw nexilon::COperationNotSupportedException("rix::CMfcFileOutputStream::GetLength", kSource, __LINE__,
                                                   "GetLength not supported");
}

void CMfcFileOutputStream::Flush()
{
    RequireFile("rix::CMfcFileOutputStream::Flush").Flush();
}

void CMfcFileOutputStream::Seek(uint64_t position)
{
    RequireFile("rix::CMfcFileOutputStream::Seek").Seek(static_cast<int64_t>(position), CFile::begin);
}

uint64_t CMfcFileOutputStream::Tell()
{
    return RequireFile("rix::CMfcFileOutputStream::Tell").GetPosition();
}

void CMfcFileOutputStream::Write(const void* buffer, uint64_t size)
{
    if (!buffer)
        throw nexilon::CNullPtrException("rix::CMfcFileOutputStream::Write", kSource, __LINE__,
                                         "buffer is NULL");
    // Only the low 32 bits of the size reach the file, as one call.
    RequireFile("rix::CMfcFileOutputStream::Write").Write(buffer, static_cast<uint32_t>(size));
}

void CMfcFileOutputStream::Connect(CArchive* archive)
{
    Disconnect();
    if (!archive)
        return;
    if (archive->IsLoading())
        throw nexilon::CIOException("rix::CMfcFileOutputStream::Connect", kSource, __LINE__,
                                    "Archive is not in storing state");
    Connect(archive->GetFile());
}

void CMfcFileOutputStream::Connect(CFile* newFile)
{
    Disconnect();
    if (!newFile)
        return;
    if (newFile->GetHandle() == CFile::hFileNull)
        throw nexilon::CIOException("rix::CMfcFileOutputStream::Connect", kSource, __LINE__, "Handle is NULL");
    file = newFile;
}

} // namespace rix
