// SPDX-License-Identifier: GPL-3.0-or-later
// Where the ticks of a chart axis go: at round numbers, steps of 1, 2 or 5
// times a power of ten, no more of them than the axis has room to label.
#pragma once

#include <utility>

namespace velmora::ui {

// The smallest step of 1, 2 or 5 times a power of ten that divides span into
// at most maxTicks intervals (maxTicks < 1 counts as 1). A span that is not a
// positive finite number gets the step 1.
double roundTickStep(double span, int maxTicks);

// The decimals that show every multiple of step exactly (0 for steps >= 1).
int decimalsFor(double step);

// [low, high] widened outward to multiples of step.
std::pair<double, double> roundedRange(double low, double high, double step);

// [low, high] (both > 0) widened outward to whole powers of ten, at least one
// decade wide, so that a logarithmic axis labels at least two decades.
std::pair<double, double> decadeRange(double low, double high);

} // namespace velmora::ui
