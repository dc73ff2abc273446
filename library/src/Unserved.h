// SPDX-License-Identifier: MIT
// What a call gives for a size it cannot compute: a size that is not a
// finite number, a term count beyond the int32 that reports it (x above
// about 2.1e9), or tables that cannot be allocated. Every floating-point
// output is then a quiet NaN, the library's "no answer"; the integer
// outputs report the count that could not be served, or -1 where that does
// not fit. No exception leaves an export.
#pragma once

#include "quellis/series/Cx.h"
#include "quellis/series/TermCount.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace quellis {

inline constexpr double kNoAnswer = std::numeric_limits<double>::quiet_NaN();
inline constexpr int32_t kCountBeyondRange = -1;

// A size whose series is never computed: not a number, infinite, or so large
// that its term count does not fit an int32. (The functions of a negative
// finite argument have no terms; a particle of negative size has no answer,
// see noParticle.)
inline bool beyondTables(double x) {
    if (std::isnan(x) || std::isinf(x)) {
        return true;
    }
    // The exact test only near the bound, so that ordinary sizes pay no
    // cube root for it.
    return x > 2e9 && !(x + 4 * std::cbrt(x) + 2 < 2147483647.5);
}

// A particle size (Re X of a sphere, Re Y and Re X of a coated one)
// without an answer: beyond the tables, or negative. A negative size takes
// the logarithm of a negative number in its term count, as its series
// would, so that the caller's floating-point environment records the
// invalid operation the NaN stems from. (A sphere of size 0 divides by zero
// in its series and answers NaN that way.)
inline bool noParticle(Cx size) {
    if (size.re < 0) {
        volatile int32_t terms = termCount(size.re);
        static_cast<void>(terms);
        return true;
    }
    return beyondTables(size.re);
}

inline Cx noAnswer() {
    return {kNoAnswer, kNoAnswer};
}

// NaN into a caller's array from `first` to its last element.
inline void fillNoAnswer(TComplex* to, int32_t high, long first) {
    for (long n = first; n <= high; ++n) {
        to[n] = toT(noAnswer());
    }
}

// Runs a call's body; should it fail (its tables cannot be allocated),
// runs `unserved`, which writes the no-answer outputs.
template <class Body, class Unserved> void answerOrNothing(Body&& body, Unserved&& unserved) {
    try {
        body();
    } catch (...) {
        unserved();
    }
}

} // namespace quellis
