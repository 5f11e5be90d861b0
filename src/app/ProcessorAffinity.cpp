#include "app/ProcessorAffinity.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace tuji {

#ifdef _WIN32

bool PinProcessToFirstProcessor() {
    DWORD_PTR processMask = 0, systemMask = 0;
    if (!GetProcessAffinityMask(GetCurrentProcess(), &processMask, &systemMask) || !processMask)
        return false;
    return SetProcessAffinityMask(GetCurrentProcess(), processMask & (~processMask + 1)) != 0;
}

#else

bool PinProcessToFirstProcessor() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0) return false;
    int first = -1;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
        if (CPU_ISSET(cpu, &allowed)) {
            first = cpu;
            break;
        }
    if (first < 0) return false;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);

    // The mask is per thread on Linux: move each thread of the process, then
    // new threads inherit the mask of the thread that starts them.
    bool allMoved = true;
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks) return sched_setaffinity(0, sizeof one, &one) == 0;
    while (dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
        const pid_t tid = pid_t(std::strtol(entry->d_name, nullptr, 10));
        // A thread that ended meanwhile is no failure.
        if (sched_setaffinity(tid, sizeof one, &one) != 0 && errno != ESRCH) allMoved = false;
    }
    closedir(tasks);
    return allMoved;
}

#endif

} // namespace tuji
