// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/Fits.h"
#include "fit/FpFault.h"

namespace velmora {

Colour wavelengthColour(int k) {
    constexpr Colour colours[] = {Colour::Blue, Colour::Green, Colour::Yellow, Colour::Red};
    return colours[k - 1];
}

void plotOverTime(RunState& run, SeriesId series, const std::vector<double>& values,
                  Colour colour) {
    std::vector<ChartPoint> points;
    points.reserve(run.timePoints());
    for (int t = 1; t <= run.timePoints(); ++t) {
        points.push_back({run.result.T[t], values[t], colour});
    }
    run.view.addPoints(series, points);
}

double meanOverTime(const RunState& run, const std::vector<double>& values) {
    if (run.timePoints() == 0) {
        return 0.0;
    }
    clearFpFlags();
    double sum = 0.0;
    for (int t = 1; t <= run.timePoints(); ++t) {
        sum += values[t];
    }
    double mean = sum / run.timePoints();
    throwIfFpFault(mean);
    return mean;
}

} // namespace velmora
