#pragma once

#include <atomic>
#include <csignal>

namespace cli {

// Routes SIGINT (Ctrl+C) to a flag for the guard's lifetime, then restores
// whatever handled it before. The flag is a lock-free atomic with static
// storage, the only thing a signal handler may touch; long-running commands
// read it between blocks or polls.
class CInterruptGuard {
public:
    CInterruptGuard();
    ~CInterruptGuard();
    CInterruptGuard(const CInterruptGuard&) = delete;
    CInterruptGuard& operator=(const CInterruptGuard&) = delete;

    static const std::atomic<bool>& Requested();

private:
    struct sigaction previous {};
    bool installed = false;
};

} // namespace cli
