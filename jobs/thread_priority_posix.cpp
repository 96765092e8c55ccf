#include "jobs/thread_priority.h"

#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace ravo {

uint32_t raiseCurrentThreadPriority()
{
    // One step above normal is one nice level lower. Without the right to
    // raise priority the call fails and the job simply runs at normal priority.
    pid_t tid = pid_t(::syscall(SYS_gettid));
    errno = 0;
    int nice = ::getpriority(PRIO_PROCESS, id_t(tid));
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, id_t(tid), nice - 1);
    return uint32_t(tid);
}

}  // namespace ravo
