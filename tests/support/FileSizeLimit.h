#pragma once

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <sys/resource.h>

namespace rixtest {

// A disk that fills: for its lifetime this process writes no byte of a
// file past the limit, and a write there fails (EFBIG) as one on a full
// disk does. SIGXFSZ, which would end the process, is ignored meanwhile.
class CFileSizeLimit {
public:
    explicit CFileSizeLimit(uint64_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &previous);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~CFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

private:
    rlimit previous {};
    void (*previousHandler)(int) = nullptr;
};

// Files and folders in a folder: one more than expected is a temporary
// file left behind.
inline std::ptrdiff_t EntriesIn(const std::filesystem::path& folder)
{
    return std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
}

} // namespace rixtest
