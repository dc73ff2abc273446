// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/AvailableCpus.h"

#include <algorithm>
#include <bitset>
#include <cerrno>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#elif defined(__linux__)
#include <sched.h>
#endif

namespace velmora {

namespace {

int machineCpus() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

} // namespace

int availableCpus() {
#if defined(_WIN32)
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system) && process != 0) {
        return static_cast<int>(std::bitset<sizeof(DWORD_PTR) * 8>(process).count());
    }
#elif defined(__linux__)
    // The set grows until it holds every processor the kernel knows of.
    for (int size = 1024; size <= (1 << 20); size *= 2) {
        cpu_set_t* set = CPU_ALLOC(size);
        if (set == nullptr) {
            break;
        }
        const std::size_t bytes = CPU_ALLOC_SIZE(size);
        const bool got = ::sched_getaffinity(0, bytes, set) == 0;
        const int count = got ? CPU_COUNT_S(bytes, set) : 0;
        CPU_FREE(set);
        if (got) {
            return std::max(1, count);
        }
        if (errno != EINVAL) {
            break;
        }
    }
#endif
    return machineCpus();
}

} // namespace velmora
