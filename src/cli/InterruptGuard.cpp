#include "InterruptGuard.h"

namespace cli {

namespace {

std::atomic<bool> interruptRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int)
{
    interruptRequested.store(true);
}

} // namespace

CInterruptGuard::CInterruptGuard()
{
    interruptRequested.store(false);
    struct sigaction action {};
    action.sa_handler = &OnInterrupt;
    sigemptyset(&action.sa_mask);
    installed = ::sigaction(SIGINT, &action, &previous) == 0;
}

CInterruptGuard::~CInterruptGuard()
{
    if (installed)
        ::sigaction(SIGINT, &previous, nullptr);
}

const std::atomic<bool>& CInterruptGuard::Requested()
{
    return interruptRequested;
}

} // namespace cli
