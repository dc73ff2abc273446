// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/FirstLowest.h"

#include <algorithm>
#include <cstring>

namespace velmora {

namespace {

// Two doubles in the compiler's vector lanes (the width every x86 build has):
// comparisons and selections only, so every lane gives what the same scalar
// comparison gives.
using Two = double __attribute__((vector_size(2 * sizeof(double))));
using TwoMask = long long __attribute__((vector_size(2 * sizeof(long long))));

Two load(const double* p) {
    Two v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

bool anyLane(TwoMask m) {
    return (m[0] | m[1]) != 0;
}

} // namespace

int firstLowest(const double* values, int count, double above) {
    // The lowest value in four independent minima (a NaN never replaces
    // one: its comparison is false), then the first index that holds it.
    Two lowestOf[2] = {{above, above}, {above, above}};
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const Two v0 = load(values + i);
        const Two v1 = load(values + i + 2);
        lowestOf[0] = v0 < lowestOf[0] ? v0 : lowestOf[0];
        lowestOf[1] = v1 < lowestOf[1] ? v1 : lowestOf[1];
    }
    double lowest = std::min({lowestOf[0][0], lowestOf[0][1], lowestOf[1][0], lowestOf[1][1]});
    for (; i < count; ++i) {
        lowest = values[i] < lowest ? values[i] : lowest;
    }
    if (!(lowest < above)) {
        return -1;
    }
    const Two wanted = {lowest, lowest};
    i = 0;
    while (i + 4 <= count &&
           !anyLane((load(values + i) == wanted) | (load(values + i + 2) == wanted))) {
        i += 4;
    }
    while (!(values[i] == lowest)) {
        ++i;
    }
    return i;
}

} // namespace velmora
