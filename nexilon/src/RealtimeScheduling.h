#pragma once

#include <sys/types.h>

namespace nexilon {

// Real-time scheduling for the threads that feed the audio device, as Linux
// audio programs get it: SCHED_FIFO set directly where the process may
// (CAP_SYS_NICE or an RLIMIT_RTPRIO allowance), else granted by the
// desktop's RealtimeKit service over the system bus. Without either the
// threads stay as they are. The first thread raised says once on standard
// error what the audio threads got.
class CRealtimeScheduling {
public:
    // The SCHED_FIFO priority asked for: within RealtimeKit's default
    // ceiling (20), above every normally scheduled thread.
    static constexpr int kPriority = 10;

    // The calling thread's kernel id.
    static pid_t CurrentThread();
    // Raises thread (of this process) directly only: a system call that
    // never blocks, so the audio callback can make it. True when granted.
    static bool RaiseDirectly(pid_t thread);
    // Raises thread directly or through RealtimeKit (a bus round trip of
    // up to a second: not from the audio callback), and says once what
    // audio threads get. True when granted.
    static bool Raise(pid_t thread);
};

} // namespace nexilon
