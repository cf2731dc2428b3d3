#include "AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "MfcFileOutputStream.h"
#include "TemporaryFiles.h"

namespace rix {

namespace {

std::string FollowLink(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return path; // a dangling link is replaced like a missing file
    std::string result(resolved);
    std::free(resolved);
    return result;
}

// The folder with its slash ("" for the current folder) and the name.
std::pair<std::string, std::string> SplitPath(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {std::string(), path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// After a rename the new name is on the disk only once its folder is; the
// file is in place already, so a failure here is not the save's failure.
void SyncFolder(const std::string& folder)
{
    const int handle = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return;
    ::fsync(handle);
    ::close(handle);
}

// The temporary file's errors, told about the file the user named.
[[noreturn]] void FailFor(const std::string& target, const char* function, int line, const CFileException& error)
{
    if (error.GetError() != 0)
        throw CFileException(function, line, target, error.GetError());
    throw CFileException(function, line, target, error.GetMessage());
}

} // namespace

CAtomicFile::CAtomicFile(const std::string& path)
    : target(path == kStandardOutput ? path : FollowLink(path))
{
    if (path == kStandardOutput) {
        // A duplicate keeps the shell's redirection as it is: its position,
        // its append mode, a pipe's reader.
        const int output = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
        if (output < 0)
            throw CFileException("rix::CAtomicFile::CAtomicFile", __LINE__, target, errno);
        file.AttachForWriting(output, target);
        return;
    }
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) {
        file.Open(nexilon::CString(std::string_view(target)), CFile::modeCreate);
        return;
    }
    const auto [folder, name] = SplitPath(target);
    CTemporaryFiles::RemoveStale(folder);
    if (!OpenUnnamed(folder))
        OpenNamed(folder, name);
}

bool CAtomicFile::OpenUnnamed(const std::string& folder)
{
    // The file gets its name through its handle's entry in /proc.
    if (::access("/proc/self/fd", X_OK) != 0)
        return false;
    const int handle = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    // Some file systems cannot make one; a folder that cannot take any file
    // fails the named way too, which then says why.
    if (handle < 0)
        return false;
    ::flock(handle, LOCK_EX | LOCK_NB);
    file.AttachForWriting(handle, target);
    unnamed = true;
    return true;
}

void CAtomicFile::OpenNamed(const std::string& folder, const std::string& name)
{
    // A name taken by a file of a process that has the same id is skipped.
    for (int attempt = 0;; ++attempt) {
        const std::string candidate = CTemporaryFiles::NextName(folder, name);
        try {
            file.Open(nexilon::CString(std::string_view(candidate)), CFile::modeCreateNew);
            temporary = candidate;
            // Not removable as stale while this process writes it.
            ::flock(file.GetHandle(), LOCK_EX | LOCK_NB);
            return;
        } catch (const CFileException& error) {
            if (error.GetError() != EEXIST || attempt == 100)
                FailFor(target, "rix::CAtomicFile::CAtomicFile", __LINE__, error);
        }
    }
}

void CAtomicFile::LinkUnnamed()
{
    const std::string handlePath = "/proc/self/fd/" + std::to_string(file.GetHandle());
    const std::string folder = SplitPath(target).first;
    const std::string name = SplitPath(target).second;
    for (int attempt = 0;; ++attempt) {
        const std::string candidate = CTemporaryFiles::NextName(folder, name);
        if (::linkat(AT_FDCWD, handlePath.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temporary = candidate;
            unnamed = false;
            return;
        }
        if (errno != EEXIST || attempt == 100)
            throw CFileException("rix::CAtomicFile::Commit", __LINE__, target, errno);
    }
}

CAtomicFile::~CAtomicFile()
{
    stream.Reset();
    file.Abort();
    if (!temporary.empty())
        ::unlink(temporary.c_str());
}

void CAtomicFile::Write(const void* bytes, uint64_t count)
{
    // The file takes at most 4 GiB minus one per call.
    const auto* next = static_cast<const unsigned char*>(bytes);
    try {
        while (count > 0) {
            const uint32_t piece = static_cast<uint32_t>(std::min<uint64_t>(count, UINT32_MAX));
            file.Write(next, piece);
            next += piece;
            count -= piece;
        }
    } catch (const CFileException& error) {
        FailFor(target, "rix::CAtomicFile::Write", __LINE__, error);
    }
}

nexilon::IOutputStream& CAtomicFile::GetStream()
{
    if (!stream) {
        auto* output = new CMfcFileOutputStream();
        output->Connect(&file);
        stream = nexilon::CPtr<nexilon::IOutputStream>::Adopt(output);
    }
    return *stream;
}

void CAtomicFile::WriteWith(const std::function<void(CFile&)>& write)
{
    try {
        write(file);
    } catch (const CFileException& error) {
        FailFor(target, "rix::CAtomicFile::WriteWith", __LINE__, error);
    }
}

void CAtomicFile::Commit()
{
    const bool replacing = unnamed || !temporary.empty();
    try {
        struct stat replaced {};
        if (replacing && ::stat(target.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode)) {
            if (::fchmod(file.GetHandle(), replaced.st_mode & 07777) != 0)
                throw CFileException("rix::CAtomicFile::Commit", __LINE__, target, errno);
            // Only a privileged process may give a file away; for anyone
            // else the file is theirs anyway.
            [[maybe_unused]] const int ignored = ::fchown(file.GetHandle(), replaced.st_uid, replaced.st_gid);
        }
        file.Flush();
        // Named while the handle is open; the name is removed again on failure.
        if (unnamed)
            LinkUnnamed();
        file.Close();
    } catch (const CFileException& error) {
        FailFor(target, "rix::CAtomicFile::Commit", __LINE__, error);
    }
    if (temporary.empty())
        return;
    if (std::rename(temporary.c_str(), target.c_str()) != 0)
        throw CFileException("rix::CAtomicFile::Commit", __LINE__, target, errno);
    temporary.clear();
    SyncFolder(SplitPath(target).first);
}

void CAtomicFile::WriteWhole(const std::string& path, const std::string& bytes)
{
    CAtomicFile file(path);
    file.Write(bytes.data(), bytes.size());
    file.Commit();
}

} // namespace rix
