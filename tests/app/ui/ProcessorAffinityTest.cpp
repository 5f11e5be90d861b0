#include "app/ProcessorAffinity.h"

#include <gtest/gtest.h>

#ifdef __linux__
#include <atomic>
#include <cstdlib>
#include <dirent.h>
#include <sched.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::vector<pid_t> Threads() {
    std::vector<pid_t> tids;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (dirent* e = readdir(dir))
            if (e->d_name[0] >= '0' && e->d_name[0] <= '9')
                tids.push_back(pid_t(std::strtol(e->d_name, nullptr, 10)));
        closedir(dir);
    }
    return tids;
}

int OnlyProcessor(pid_t tid) {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(tid, sizeof set, &set) != 0) return -2;
    if (CPU_COUNT(&set) != 1) return -1;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
        if (CPU_ISSET(cpu, &set)) return cpu;
    return -1;
}

} // namespace

TEST(ProcessorAffinity, PinsRunningThreadsAndLaterOnesInherit) {
    cpu_set_t original;
    ASSERT_EQ(sched_getaffinity(0, sizeof original, &original), 0);
    int first = 0;
    while (!CPU_ISSET(first, &original))
        ++first;

    std::atomic<bool> release{false};
    std::atomic<pid_t> earlyTid{0};
    std::thread early([&] {
        earlyTid = pid_t(syscall(SYS_gettid));
        while (!release)
            std::this_thread::yield();
    });
    while (!earlyTid)
        std::this_thread::yield();

    EXPECT_TRUE(tuji::PinProcessToFirstProcessor());
    for (pid_t tid : Threads())
        EXPECT_EQ(OnlyProcessor(tid), first) << tid;
    EXPECT_EQ(OnlyProcessor(earlyTid), first);
    int laterCpu = -3;
    std::thread later([&] { laterCpu = OnlyProcessor(pid_t(syscall(SYS_gettid))); });
    later.join();
    EXPECT_EQ(laterCpu, first);

    release = true;
    early.join();
    for (pid_t tid : Threads())
        sched_setaffinity(tid, sizeof original, &original);
}
#endif
