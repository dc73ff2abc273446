// SPDX-License-Identifier: GPL-3.0-or-later
// The fit's threads follow the processors the process may use, not the
// machine's.
#include "fit/AvailableCpus.h"

#include <gtest/gtest.h>

#ifdef __linux__
#include <sched.h>
#endif

namespace velmora {
namespace {

TEST(AvailableCpusTest, FollowsTheAffinityOfTheProcess) {
#ifdef __linux__
    cpu_set_t all;
    ASSERT_EQ(::sched_getaffinity(0, sizeof all, &all), 0);
    EXPECT_EQ(availableCpus(), CPU_COUNT(&all));
    int first = 0;
    while (!CPU_ISSET(first, &all)) {
        ++first;
    }
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    ASSERT_EQ(::sched_setaffinity(0, sizeof one, &one), 0);
    EXPECT_EQ(availableCpus(), 1);
    ASSERT_EQ(::sched_setaffinity(0, sizeof all, &all), 0);
#else
    GTEST_SKIP() << "the affinity is set here only on Linux";
#endif
}

} // namespace
} // namespace velmora
