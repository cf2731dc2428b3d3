#include "nexilon/FileInputStream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "nexilon/Exceptions.h"
#include "nexilon/ObjectBase.h"

namespace nexilon {

namespace {

constexpr const char* kFile = "FileInputStream";

class CFileInputStream final : public CObjectBase<IFileInputStream> {
public:
    CFileInputStream() : CObjectBase(ClassId) {}
    ~CFileInputStream() override
    {
        if (fd >= 0)
            ::close(fd);
    }

    IObject* QueryInterface(const CId& id) override
    {
        if (id == IFileInputStream::Iid || id == IInputStream::Iid || id == IStream::Iid ||
            id == IObject::Iid)
            return Answer();
        return nullptr;
    }

    void Open(const CString& newPath) override
    {
        Close();
        path = newPath.ToUtf8();
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            Fail("nexilon::CFileInputStream::Open", errno);
        struct stat info {};
        if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
            const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
            ::close(fd);
            fd = -1;
            Fail("nexilon::CFileInputStream::Open", error);
        }
        atEnd = false;
    }

    void Close() override
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        atEnd = true;
    }

    int32_t GetCapabilities() override { return fd >= 0 ? 15 : 0; }

    uint64_t GetLength() override
    {
        RequireOpen("nexilon::CFileInputStream::GetLength");
        struct stat info {};
        if (::fstat(fd, &info) != 0)
            Fail("nexilon::CFileInputStream::GetLength", errno);
        return static_cast<uint64_t>(info.st_size);
    }

    void Flush() override { RequireOpen("nexilon::CFileInputStream::Flush"); }

    void Seek(uint64_t target) override
    {
        RequireOpen("nexilon::CFileInputStream::Seek");
        if (::lseek(fd, static_cast<off_t>(target), SEEK_SET) < 0)
            Fail("nexilon::CFileInputStream::Seek", errno);
        atEnd = target >= GetLength();
    }

    uint64_t Tell() override
    {
        RequireOpen("nexilon::CFileInputStream::Tell");
        const off_t here = ::lseek(fd, 0, SEEK_CUR);
        if (here < 0)
            Fail("nexilon::CFileInputStream::Tell", errno);
        return static_cast<uint64_t>(here);
    }

    bool IsEof() override { return atEnd; }

    const TStreamFormat* GetFormat() override
    {
        static const TStreamFormat bytes{CId(), sizeof(TStreamFormat)};
        return &bytes;
    }

    void Read(IMediaSample*) override
    {
        throw COperationNotSupportedException("nexilon::CFileInputStream::Read", kFile, __LINE__,
                                              "Media samples are not supported");
    }

    uint64_t Read(void* data, uint64_t size) override
    {
        if (!data)
            throw CNullPtrException("nexilon::CFileInputStream::Read", kFile, __LINE__, "buffer is NULL");
        RequireOpen("nexilon::CFileInputStream::Read");
        auto* bytes = static_cast<unsigned char*>(data);
        uint64_t done = 0;
        while (done < size) {
            const ssize_t got = ::read(fd, bytes + done, size - done);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                Fail("nexilon::CFileInputStream::Read", errno);
            }
            if (got == 0)
                break;
            done += static_cast<uint64_t>(got);
        }
        atEnd = done < size;
        return done;
    }

    bool IsFeatureSupported(uint32_t) override { return false; }

    void Skip(int64_t delta) override
    {
        RequireOpen("nexilon::CFileInputStream::Skip");
        Seek(static_cast<uint64_t>(static_cast<int64_t>(Tell()) + delta));
    }

private:
    void RequireOpen(const char* operation) const
    {
        if (fd < 0)
            throw CIOException(operation, kFile, __LINE__, "File is not open");
    }

    [[noreturn]] void Fail(const char* operation, int error) const
    {
        throw CIOException(operation, kFile, __LINE__, path + ": " + std::strerror(error));
    }

    int fd = -1;
    bool atEnd = true;
    std::string path;
};

} // namespace

IObject* CreateFileInputStream()
{
    return static_cast<IFileInputStream*>(new CFileInputStream());
}

} // namespace nexilon
