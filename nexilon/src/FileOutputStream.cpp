#include "nexilon/FileOutputStream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "nexilon/Exceptions.h"
#include "nexilon/ObjectBase.h"

namespace nexilon {

namespace {

constexpr const char* kFile = "FileOutputStream";

// Writes through a 64 KiB buffer; a failed write shows at the latest in
// Flush() or Close(), which throw, so callers that close explicitly learn
// of a full disk before they trust the file.
class CFileOutputStream final : public CObjectBase<IFileOutputStream> {
public:
    CFileOutputStream() : CObjectBase(ClassId) {}
    ~CFileOutputStream() override
    {
        if (fd >= 0) {
            try {
                FlushBuffer("nexilon::CFileOutputStream::Close");
            } catch (const CException&) {
                // A destructor cannot report; callers that care call Close().
            }
            ::close(fd);
        }
    }

    IObject* QueryInterface(const CId& id) override
    {
        if (id == IFileOutputStream::Iid || id == IOutputStream::Iid || id == IStream::Iid ||
            id == IObject::Iid)
            return Answer();
        return nullptr;
    }

    void Open(const CString& newPath, int32_t) override
    {
        Close();
        path = newPath.ToUtf8();
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            Fail("nexilon::CFileOutputStream::Open", errno);
    }

    void Close() override
    {
        if (fd < 0)
            return;
        const int closing = fd;
        try {
            FlushBuffer("nexilon::CFileOutputStream::Close");
        } catch (...) {
            ::close(closing);
            fd = -1;
            throw;
        }
        fd = -1;
        if (::close(closing) != 0)
            Fail("nexilon::CFileOutputStream::Close", errno);
    }

    int32_t GetCapabilities() override { return fd >= 0 ? 11 : 0; }

    uint64_t GetLength() override
    {
        RequireOpen("nexilon::CFileOutputStream::GetLength");
        FlushBuffer("nexilon::CFileOutputStream::GetLength");
        const off_t end = ::lseek(fd, 0, SEEK_END);
        if (end < 0)
            Fail("nexilon::CFileOutputStream::GetLength", errno);
        ::lseek(fd, position, SEEK_SET);
        return static_cast<uint64_t>(end);
    }

    void Flush() override
    {
        RequireOpen("nexilon::CFileOutputStream::Flush");
        FlushBuffer("nexilon::CFileOutputStream::Flush");
    }

    void Seek(uint64_t target) override
    {
        RequireOpen("nexilon::CFileOutputStream::Seek");
        FlushBuffer("nexilon::CFileOutputStream::Seek");
        if (::lseek(fd, static_cast<off_t>(target), SEEK_SET) < 0)
            Fail("nexilon::CFileOutputStream::Seek", errno);
        position = static_cast<off_t>(target);
    }

    uint64_t Tell() override
    {
        RequireOpen("nexilon::CFileOutputStream::Tell");
        return static_cast<uint64_t>(position) + buffer.size();
    }

    void SetHint(uint32_t) override {}

    void Write(const void* data, uint64_t size) override
    {
        if (!data && size > 0)
            throw CNullPtrException("nexilon::CFileOutputStream::Write", kFile, __LINE__, "buffer is NULL");
        RequireOpen("nexilon::CFileOutputStream::Write");
        const auto* bytes = static_cast<const unsigned char*>(data);
        if (buffer.size() + size > kBufferSize)
            FlushBuffer("nexilon::CFileOutputStream::Write");
        if (size >= kBufferSize) {
            WriteAll(bytes, size, "nexilon::CFileOutputStream::Write");
            return;
        }
        buffer.insert(buffer.end(), bytes, bytes + size);
    }

private:
    static constexpr std::size_t kBufferSize = 65536;

    void RequireOpen(const char* operation) const
    {
        if (fd < 0)
            throw CIOException(operation, kFile, __LINE__, "File is not open");
    }

    [[noreturn]] void Fail(const char* operation, int error) const
    {
        throw CIOException(operation, kFile, __LINE__, path + ": " + std::strerror(error));
    }

    void FlushBuffer(const char* operation)
    {
        if (buffer.empty())
            return;
        std::vector<unsigned char> pending;
        pending.swap(buffer);
        WriteAll(pending.data(), pending.size(), operation);
    }

    void WriteAll(const unsigned char* bytes, uint64_t size, const char* operation)
    {
        while (size > 0) {
            const ssize_t written = ::write(fd, bytes, size);
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                Fail(operation, errno);
            }
            if (written == 0)
                Fail(operation, ENOSPC);
            bytes += written;
            size -= static_cast<uint64_t>(written);
            position += written;
        }
    }

    int fd = -1;
    off_t position = 0;
    std::string path;
    std::vector<unsigned char> buffer;
};

} // namespace

IObject* CreateFileOutputStream()
{
    return static_cast<IFileOutputStream*>(new CFileOutputStream());
}

} // namespace nexilon
