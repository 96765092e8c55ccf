#include "jobs/thread_priority.h"

#include <windows.h>

namespace ravo {

uint32_t raiseCurrentThreadPriority()
{
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    return ::GetCurrentThreadId();
}

}  // namespace ravo
