#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "nexilon/Exceptions.h"
#include "nexilon/String.h"

namespace rix {

// A failure of the operating system's file calls behind CFile: opening,
// reading, writing, positioning, flushing or closing. The message is the
// system's reason; the path is kept beside it so that callers can name the
// file once.
class CFileException : public nexilon::CException {
public:
    CFileException(std::string function, int line, std::string path, int error);
    CFileException(std::string function, int line, std::string path, std::string message);

    const std::string& GetPath() const { return path; }
    // The errno value, 0 when the failure did not come from the system.
    int GetError() const { return error; }
    const char* GetKind() const override { return "CFileException"; }

private:
    std::string path;
    int error = 0;
};

// A file opened for reading or created for writing. Reading goes through a
// 64 KiB read-ahead buffer, since loaders take a file four bytes at a time;
// writes go straight to the system. Not thread-safe; one user at a time.
// Closed files have the null handle.
class CFile {
public:
    using THandle = int;
    static constexpr THandle hFileNull = -1;

    enum TOpenMode {
        modeRead,      // an existing file, read only
        modeCreate,    // created or truncated, write only
        modeCreateNew, // a new file, write only; EEXIST when the name is taken
    };

    enum TSeekOrigin {
        begin,
        current,
        end,
    };

    CFile() = default;
    // Opens at once; CFileException when the file cannot be opened.
    CFile(const nexilon::CString& path, TOpenMode mode);
    // Closes an open file without reporting errors; callers that must know
    // that the data reached the disk call Flush and Close first.
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Closes a file that is still open (reporting its errors), then opens.
    void Open(const nexilon::CString& path, TOpenMode mode);
    // Takes over a handle opened elsewhere for writing (an unnamed file, a
    // duplicate of standard output); path names it in errors.
    void AttachForWriting(THandle opened, const std::string& path);

    // Reads up to count bytes; fewer only at the end of the file.
    uint32_t Read(void* buffer, uint32_t count);
    // Writes all count bytes or throws (a full disk included).
    void Write(const void* buffer, uint32_t count);
    // Returns the new absolute position in bytes.
    uint64_t Seek(int64_t offset, TSeekOrigin origin);
    uint64_t GetPosition() const;
    uint64_t GetLength() const;
    // For a file open for writing: asks the system to put the data on the
    // disk. Nothing to do for a file open for reading.
    void Flush();
    // Closes; the handle becomes null even when closing reports an error.
    void Close();
    // Closes without reporting errors.
    void Abort();

    THandle GetHandle() const { return handle; }
    bool IsOpen() const { return handle != hFileNull; }

private:
    void RequireOpen(const char* operation) const;
    [[noreturn]] void Fail(const char* operation, int line, int error) const;

    void DropReadBuffer();

    static constexpr uint32_t kReadAhead = 65536;

    THandle handle = hFileNull;
    bool writing = false;
    std::string path;
    // Bytes read from the system but not yet handed out: readBuffer[readNext,
    // readEnd). The system's position is readEnd bytes past the buffer start.
    std::vector<unsigned char> readBuffer;
    uint32_t readNext = 0;
    uint32_t readEnd = 0;
};

} // namespace rix
