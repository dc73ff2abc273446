// SPDX-License-Identifier: MIT
// Quotients of small integers that the series take at every order, tabled
// for the orders of the stack tables exactly as the division rounds them, so
// that a step of a series spends no division on them.
#pragma once

#include "quellis/series/OrderTable.h"

#include <array>

namespace quellis {

struct OrderQuotients {
    std::array<double, kStackOrders> successorRatio{};  // n/(n-1), from n = 2
    std::array<double, kStackOrders> amplitudeWeight{}; // (2n+1)/(n(n+1)), from n = 1
};

inline constexpr OrderQuotients kOrderQuotients = [] {
    OrderQuotients q;
    for (std::size_t n = 1; n < kStackOrders; ++n) {
        const auto order = static_cast<long long>(n);
        if (n >= 2) {
            q.successorRatio[n] = static_cast<double>(order) / static_cast<double>(order - 1);
        }
        q.amplitudeWeight[n] =
            static_cast<double>(2 * order + 1) / static_cast<double>(order * (order + 1));
    }
    return q;
}();

// n/(n-1) for n >= 2.
inline double successorRatio(long n) {
    if (n < static_cast<long>(kStackOrders)) {
        return kOrderQuotients.successorRatio[static_cast<std::size_t>(n)];
    }
    const double order = static_cast<double>(n);
    return order / (order - 1);
}

// (2n+1)/(n(n+1)) for n >= 1, n(n+1) formed in integer arithmetic.
inline double amplitudeWeight(long n) {
    if (n < static_cast<long>(kStackOrders)) {
        return kOrderQuotients.amplitudeWeight[static_cast<std::size_t>(n)];
    }
    const long long order = n;
    return static_cast<double>(2 * order + 1) / static_cast<double>(order * (order + 1));
}

} // namespace quellis
