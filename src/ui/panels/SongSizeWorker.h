#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "RixExportBreakdown.h"
#include "RixModuleData.h"

namespace rix {

// Breaks a song's exported bytes down (BreakDownExportSize, 4 to 19 ms)
// on a thread of its own, so that the Song Size panel (and the status bar's
// total) follow edits without taking that time from the UI thread. Only the latest request
// counts: one still waiting when another comes is dropped.
//
// Threading: Request from one thread (the UI thread); done is called on
// the worker thread and must only hand the result on (post it).
class CSongSizeWorker {
public:
    // serial: the Request's number, so that a late result can be told apart.
    using TDone = std::function<void(uint64_t serial, const TRixExportBreakdown& breakdown)>;
    // What is worked out of a song: the whole breakdown, or less for a
    // caller that needs only some of it (the status bar only the total).
    using TMeasure = std::function<TRixExportBreakdown(const CRixModuleData& song, bool exact)>;

    explicit CSongSizeWorker(TDone done, TMeasure measure = BreakDownExportSize);
    // Waits for a breakdown under way.
    ~CSongSizeWorker();
    CSongSizeWorker(const CSongSizeWorker&) = delete;
    CSongSizeWorker& operator=(const CSongSizeWorker&) = delete;

    // Breaks song down in the plain or the exact form; returns the serial
    // its result will carry.
    uint64_t Request(std::unique_ptr<CRixModuleData> song, bool exact);

private:
    void Run();

    TDone done;
    TMeasure measure;
    std::mutex mutex;
    std::condition_variable wake;
    std::unique_ptr<CRixModuleData> pending;
    bool pendingExact = false;
    uint64_t serial = 0;
    bool quitting = false;
    std::thread worker;
};

} // namespace rix
