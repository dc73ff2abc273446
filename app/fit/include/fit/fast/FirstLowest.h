// SPDX-License-Identifier: GPL-3.0-or-later
// The first of the lowest values of an array, as a loop that keeps the
// first value strictly below the lowest so far finds it: NaN never counts,
// and of equal values (+0 and -0 among them) the first wins.
#pragma once

namespace velmora {

// The index of the first value below `above` that no later value lies
// strictly below, or -1 when no value lies below `above`.
int firstLowest(const double* values, int count, double above);

} // namespace velmora
