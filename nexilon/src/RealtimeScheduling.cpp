#include "RealtimeScheduling.h"

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <string>

#ifdef NEXILON_HAVE_DBUS
#include <dbus/dbus.h>
#endif

namespace nexilon {

namespace {

// RealtimeKit grants only to processes that limit the CPU time a real-time
// thread may take without sleeping; 200 ms is its default ceiling. A thread
// that overran it would be sent SIGXCPU, which no audio thread comes near.
constexpr rlim_t kRealtimeTimeLimitMicroseconds = 200000;

#ifdef NEXILON_HAVE_DBUS
// One MakeThreadRealtime call on the system bus; the reason when it fails.
bool AskRealtimeKit(pid_t thread, std::string& failure)
{
    rlimit limit{};
    if (getrlimit(RLIMIT_RTTIME, &limit) == 0 &&
        (limit.rlim_max == RLIM_INFINITY || limit.rlim_max > kRealtimeTimeLimitMicroseconds)) {
        limit.rlim_cur = limit.rlim_max = kRealtimeTimeLimitMicroseconds;
        setrlimit(RLIMIT_RTTIME, &limit);
    }
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* bus = dbus_bus_get_private(DBUS_BUS_SYSTEM, &error);
    if (!bus) {
        failure = error.message ? error.message : "no system bus";
        dbus_error_free(&error);
        return false;
    }
    dbus_connection_set_exit_on_disconnect(bus, FALSE);
    bool granted = false;
    if (DBusMessage* call = dbus_message_new_method_call("org.freedesktop.RealtimeKit1", "/org/freedesktop/RealtimeKit1",
                                                         "org.freedesktop.RealtimeKit1", "MakeThreadRealtime")) {
        dbus_uint64_t id = static_cast<dbus_uint64_t>(thread);
        dbus_uint32_t priority = CRealtimeScheduling::kPriority;
        dbus_message_append_args(call, DBUS_TYPE_UINT64, &id, DBUS_TYPE_UINT32, &priority, DBUS_TYPE_INVALID);
        DBusMessage* reply = dbus_connection_send_with_reply_and_block(bus, call, 1000, &error);
        if (reply) {
            granted = true;
            dbus_message_unref(reply);
        } else {
            failure = error.message ? error.message : "no answer";
        }
        dbus_message_unref(call);
    }
    dbus_error_free(&error);
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
    return granted;
}
#else
bool AskRealtimeKit(pid_t, std::string& failure)
{
    failure = "built without D-Bus";
    return false;
}
#endif

} // namespace

pid_t CRealtimeScheduling::CurrentThread()
{
    return static_cast<pid_t>(syscall(SYS_gettid));
}

bool CRealtimeScheduling::RaiseDirectly(pid_t thread)
{
    sched_param parameters{};
    parameters.sched_priority = kPriority;
    return sched_setscheduler(thread, SCHED_FIFO | SCHED_RESET_ON_FORK, &parameters) == 0;
}

bool CRealtimeScheduling::Raise(pid_t thread)
{
    std::string how = "SCHED_FIFO";
    std::string failure;
    bool granted = RaiseDirectly(thread);
    if (!granted) {
        granted = AskRealtimeKit(thread, failure);
        how = "SCHED_FIFO through RealtimeKit";
    }
    static std::once_flag said;
    std::call_once(said, [&] {
        if (granted)
            std::fprintf(stderr, "nexilon: audio threads run at real-time priority %d (%s)\n", kPriority, how.c_str());
        else
            std::fprintf(stderr, "nexilon: audio threads run at normal priority (no real-time scheduling: %s)\n",
                         failure.c_str());
    });
    return granted;
}

} // namespace nexilon
