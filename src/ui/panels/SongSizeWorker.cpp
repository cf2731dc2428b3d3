#include "SongSizeWorker.h"

#include <exception>

namespace rix {

CSongSizeWorker::CSongSizeWorker(TDone done, TMeasure measure)
    : done(std::move(done)), measure(std::move(measure)), worker(&CSongSizeWorker::Run, this)
{
}

CSongSizeWorker::~CSongSizeWorker()
{
    {
        std::lock_guard guard(mutex);
        quitting = true;
    }
    wake.notify_all();
    worker.join();
}

uint64_t CSongSizeWorker::Request(std::unique_ptr<CRixModuleData> song, bool exact)
{
    uint64_t number = 0;
    {
        std::lock_guard guard(mutex);
        pending = std::move(song);
        pendingExact = exact;
        number = ++serial;
    }
    wake.notify_all();
    return number;
}

void CSongSizeWorker::Run()
{
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return quitting || pending; });
        if (quitting)
            return;
        const std::unique_ptr<CRixModuleData> song = std::move(pending);
        const bool exact = pendingExact;
        const uint64_t number = serial;
        lock.unlock();
        TRixExportBreakdown breakdown;
        try {
            breakdown = measure(*song, exact);
        } catch (const std::exception&) {
            // Only memory running out; the panel keeps its last figures.
            lock.lock();
            continue;
        }
        done(number, breakdown);
        lock.lock();
    }
}

} // namespace rix
