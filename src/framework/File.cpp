#include "File.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rix {

namespace {

constexpr const char* kSource = "File";

} // namespace

CFileException::CFileException(std::string function, int line, std::string path, int error)
    : CException(std::move(function), kSource, line, std::strerror(error)), path(std::move(path)), error(error)
{
}

CFileException::CFileException(std::string function, int line, std::string path, std::string message)
    : CException(std::move(function), kSource, line, std::move(message)), path(std::move(path))
{
}

CFile::CFile(const nexilon::CString& path, TOpenMode mode)
{
    Open(path, mode);
}

CFile::~CFile()
{
    Abort();
}

void CFile::Open(const nexilon::CString& newPath, TOpenMode mode)
{
    if (IsOpen())
        Close();
    path = newPath.ToUtf8();
    writing = mode != modeRead;
    const int flags = mode == modeRead     ? (O_RDONLY | O_CLOEXEC)
                      : mode == modeCreate ? (O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC)
                                           : (O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC);
    const int opened = ::open(path.c_str(), flags, 0666);
    if (opened < 0)
        Fail("rix::CFile::Open", __LINE__, errno);
    struct stat info {};
    if (::fstat(opened, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(opened);
        Fail("rix::CFile::Open", __LINE__, error);
    }
    handle = opened;
}

void CFile::AttachForWriting(THandle opened, const std::string& newPath)
{
    if (IsOpen())
        Close();
    path = newPath;
    writing = true;
    handle = opened;
}

uint32_t CFile::Read(void* buffer, uint32_t count)
{
    RequireOpen("rix::CFile::Read");
    auto* bytes = static_cast<unsigned char*>(buffer);
    uint32_t done = 0;
    while (done < count) {
        if (readNext < readEnd) {
            const uint32_t piece = std::min(count - done, readEnd - readNext);
            std::memcpy(bytes + done, readBuffer.data() + readNext, piece);
            readNext += piece;
            done += piece;
            continue;
        }
        // Large reads bypass the buffer; small ones refill it first.
        const bool direct = count - done >= kReadAhead;
        if (!direct)
            readBuffer.resize(kReadAhead);
        unsigned char* target = direct ? bytes + done : readBuffer.data();
        const ssize_t got = ::read(handle, target, direct ? count - done : kReadAhead);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            Fail("rix::CFile::Read", __LINE__, errno);
        }
        if (got == 0)
            break;
        if (direct) {
            done += static_cast<uint32_t>(got);
        } else {
            readNext = 0;
            readEnd = static_cast<uint32_t>(got);
        }
    }
    return done;
}

void CFile::Write(const void* buffer, uint32_t count)
{
    RequireOpen("rix::CFile::Write");
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    uint32_t done = 0;
    while (done < count) {
        const ssize_t put = ::write(handle, bytes + done, count - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            Fail("rix::CFile::Write", __LINE__, errno);
        }
        if (put == 0)
            Fail("rix::CFile::Write", __LINE__, ENOSPC);
        done += static_cast<uint32_t>(put);
    }
}

uint64_t CFile::Seek(int64_t offset, TSeekOrigin origin)
{
    RequireOpen("rix::CFile::Seek");
    const int whence = origin == begin ? SEEK_SET : origin == current ? SEEK_CUR : SEEK_END;
    if (origin == current)
        offset -= static_cast<int64_t>(readEnd - readNext);
    DropReadBuffer();
    const off_t position = ::lseek(handle, static_cast<off_t>(offset), whence);
    if (position < 0)
        Fail("rix::CFile::Seek", __LINE__, errno);
    return static_cast<uint64_t>(position);
}

uint64_t CFile::GetPosition() const
{
    RequireOpen("rix::CFile::GetPosition");
    const off_t position = ::lseek(handle, 0, SEEK_CUR);
    if (position < 0)
        Fail("rix::CFile::GetPosition", __LINE__, errno);
    return static_cast<uint64_t>(position) - (readEnd - readNext);
}

uint64_t CFile::GetLength() const
{
    RequireOpen("rix::CFile::GetLength");
    struct stat info {};
    if (::fstat(handle, &info) != 0)
        Fail("rix::CFile::GetLength", __LINE__, errno);
    return static_cast<uint64_t>(info.st_size);
}

void CFile::Flush()
{
    RequireOpen("rix::CFile::Flush");
    // Pipes and devices cannot be synchronised; there is nothing to lose.
    if (writing && ::fsync(handle) != 0 && errno != EINVAL && errno != EROFS)
        Fail("rix::CFile::Flush", __LINE__, errno);
}

void CFile::Close()
{
    if (!IsOpen())
        return;
    const THandle closing = handle;
    handle = hFileNull;
    DropReadBuffer();
    if (::close(closing) != 0 && errno != EINTR)
        Fail("rix::CFile::Close", __LINE__, errno);
}

void CFile::Abort()
{
    if (IsOpen())
        ::close(handle);
    handle = hFileNull;
    DropReadBuffer();
}

void CFile::DropReadBuffer()
{
    readNext = readEnd = 0;
}

void CFile::RequireOpen(const char* operation) const
{
    if (!IsOpen())
        throw CFileException(operation, __LINE__, path, "File is not open");
}

void CFile::Fail(const char* operation, int line, int error) const
{
    throw CFileException(operation, line, path, error);
}

} // namespace rix
