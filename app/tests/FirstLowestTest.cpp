// SPDX-License-Identifier: GPL-3.0-or-later
// firstLowest against the loop whose winner it must find: the first value
// strictly below the lowest so far.
#include "fit/fast/FirstLowest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace velmora {
namespace {

int firstLowestByLoop(const std::vector<double>& values, double above) {
    int found = -1;
    double lowest = above;
    for (int i = 0; i < static_cast<int>(values.size()); ++i) {
        if (values[i] < lowest) {
            lowest = values[i];
            found = i;
        }
    }
    return found;
}

TEST(FirstLowestTest, AgreesWithTheLoopOnEveryLengthAndAwkwardValue) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // Few distinct values, so that ties are common; zeros of both signs,
    // NaN and the infinities among them.
    const std::vector<double> pool = {3.0, 1.0, 2.0, 0.0, -0.0, nan, inf, -inf, 1.0, 2.5};
    std::mt19937_64 rng(5);
    int found = 0;
    for (int length = 0; length <= 23; ++length) {
        for (int trial = 0; trial < 200; ++trial) {
            std::vector<double> values(length);
            for (double& v : values) {
                v = pool[rng() % pool.size()];
            }
            for (double above : {inf, 2.0, 0.0, -inf}) {
                const int expected = firstLowestByLoop(values, above);
                ASSERT_EQ(firstLowest(values.data(), length, above), expected)
                    << "length " << length << " trial " << trial << " above " << above;
                found += expected >= 0;
            }
        }
    }
    EXPECT_GT(found, 1000);
}

TEST(FirstLowestTest, SignedZerosTieAndTheFirstWins) {
    const std::vector<double> values = {1.0, 0.0, 5.0, -0.0, 0.0};
    EXPECT_EQ(firstLowest(values.data(), 5, 1.0), 1);
    const std::vector<double> minusFirst = {2.0, 2.0, 2.0, 2.0, 2.0, -0.0, 0.0};
    EXPECT_EQ(firstLowest(minusFirst.data(), 7, 100.0), 5);
}

TEST(FirstLowestTest, NothingBelowTheBoundIsNoIndex) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> values = {nan, 100.0, nan, 100.0, 100.0};
    EXPECT_EQ(firstLowest(values.data(), 5, 100.0), -1);
    EXPECT_EQ(firstLowest(values.data(), 0, 100.0), -1);
}

} // namespace
} // namespace velmora
