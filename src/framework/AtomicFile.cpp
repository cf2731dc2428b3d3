#include "AtomicFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "MfcFileOutputStream.h"

namespace rix {

namespace {

// Temporary names differ between the files one process writes at the same
// time; the process id separates processes.
std::atomic<uint32_t> temporaryNumber{0};

// Names of at most 255 bytes; the temporary name adds prefix and suffix.
constexpr std::size_t kLongestNamePart = 200;

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

CAtomicFile::CAtomicFile(const std::string& path) : target(FollowLink(path))
{
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) {
        file.Open(nexilon::CString(std::string_view(target)), CFile::modeCreate);
        return;
    }
    const auto [folder, name] = SplitPath(target);
    const std::string prefix = folder + "." + name.substr(0, kLongestNamePart) + "." + std::to_string(::getpid());
    // A name taken by a file that a stopped process left behind is skipped.
    for (int attempt = 0;; ++attempt) {
        const std::string candidate = prefix + "-" + std::to_string(temporaryNumber++) + ".tmp";
        try {
            file.Open(nexilon::CString(std::string_view(candidate)), CFile::modeCreateNew);
            temporary = candidate;
            return;
        } catch (const CFileException& error) {
            if (error.GetError() != EEXIST || attempt == 100)
                FailFor(target, "rix::CAtomicFile::CAtomicFile", __LINE__, error);
        }
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
    try {
        struct stat replaced {};
        if (!temporary.empty() && ::stat(target.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode)) {
            if (::fchmod(file.GetHandle(), replaced.st_mode & 07777) != 0)
                throw CFileException("rix::CAtomicFile::Commit", __LINE__, target, errno);
            // Only a privileged process may give a file away; for anyone
            // else the file is theirs anyway.
            [[maybe_unused]] const int ignored = ::fchown(file.GetHandle(), replaced.st_uid, replaced.st_gid);
        }
        file.Flush();
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
