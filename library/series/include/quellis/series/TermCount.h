// SPDX-License-Identifier: MIT
// Series lengths: the number of Mie terms N of a size parameter and the
// integer rounding (to nearest, ties to even) that every count uses.
#pragma once

#include <cmath>
#include <cstdint>

namespace quellis {

// Rounds to the nearest integer, ties to even. A value that is not finite
// or does not fit an int32 gives 0; the invalid operation it stems from has
// already raised its floating-point flag.
inline int32_t roundToInt(double v) {
    const double r = std::nearbyint(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
        return 0;
    }
    return static_cast<int32_t>(r);
}

// N = round(x + 4*x^(1/3) + 2) (Wiscombe 1980, Appl. Opt. 19, 1505), the cube root taken as
// exp(ln(x)/3) and as 0 for x = 0. A negative x takes the logarithm of a negative number.
inline int32_t termCount(double x) {
    const double c = (x == 0.0) ? 0.0 : std::exp(std::log(x) / 3);
    return roundToInt(x + 4 * c + 2);
}

} // namespace quellis
