#include "TemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rix {

namespace {

// Separates the files one process writes at the same time.
std::atomic<uint32_t> temporaryNumber{0};

// Names of at most 255 bytes; the temporary name adds prefix and suffix.
constexpr std::size_t kLongestNamePart = 200;

bool AllDigits(std::string_view text)
{
    return !text.empty() && text.size() <= 10 && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The writer's process id of a temporary file's name; nothing for any other name.
std::optional<pid_t> WriterOf(std::string_view name)
{
    constexpr std::string_view kSuffix = ".tmp";
    if (name.size() < 2 || name[0] != '.' || !name.ends_with(kSuffix))
        return std::nullopt;
    name.remove_suffix(kSuffix.size());
    const std::size_t dash = name.rfind('-');
    if (dash == std::string_view::npos || !AllDigits(name.substr(dash + 1)))
        return std::nullopt;
    name = name.substr(0, dash);
    const std::size_t dot = name.rfind('.');
    if (dot == 0 || dot == std::string_view::npos || !AllDigits(name.substr(dot + 1)))
        return std::nullopt;
    const unsigned long long process = std::stoull(std::string(name.substr(dot + 1)));
    if (process == 0 || process > INT32_MAX)
        return std::nullopt;
    return static_cast<pid_t>(process);
}

bool IsRunning(pid_t process)
{
    return ::kill(process, 0) == 0 || errno != ESRCH;
}

} // namespace

std::string CTemporaryFiles::NextName(const std::string& folder, const std::string& name)
{
    return folder + "." + name.substr(0, kLongestNamePart) + "." + std::to_string(::getpid()) + "-" +
           std::to_string(temporaryNumber++) + ".tmp";
}

void CTemporaryFiles::RemoveStale(const std::string& folder)
{
    DIR* entries = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!entries)
        return;
    const int place = ::dirfd(entries);
    while (const dirent* entry = ::readdir(entries)) {
        const std::optional<pid_t> writer = WriterOf(entry->d_name);
        if (!writer || IsRunning(*writer))
            continue;
        const int handle = ::openat(place, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (handle < 0)
            continue;
        // The lock proves that no writer holds the file; the same inode
        // under the name proves that the file locked is the one removed.
        struct stat locked {};
        struct stat named {};
        if (::flock(handle, LOCK_EX | LOCK_NB) == 0 && ::fstat(handle, &locked) == 0 && S_ISREG(locked.st_mode) &&
            ::fstatat(place, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == locked.st_ino &&
            named.st_dev == locked.st_dev)
            ::unlinkat(place, entry->d_name, 0);
        ::close(handle);
    }
    ::closedir(entries);
}

} // namespace rix
