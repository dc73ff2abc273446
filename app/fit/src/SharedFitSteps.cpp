// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/DirectEngine.h"
#include "fit/Fits.h"
#include "fit/FpFault.h"
#include "fit/Search.h"
#include "fit/fast/FastEngine.h"

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

template <typename Engine> void fillModel(RunState& run, Engine& engine, double gam, double wp) {
    const RunParameters& p = run.params;
    const auto source = engine.modelSource(p, gam, wp);
    for (int k = 1; k <= kWavelengths; ++k) {
        for (int i = 1; i <= p.N; ++i) {
            const double radius = source.radius(i - 1);
            const ModelValue value = source.model(k, i - 1, radius);
            if (value.fault != FpFault::None) {
                throwFpFault(value.fault);
            }
            run.result.Model[i][2 * k - 2] = value.iv;
            run.result.Model[i][2 * k - 1] = value.ih;
        }
    }
}

template void fillModel(RunState&, DirectEngine&, double, double);
template void fillModel(RunState&, FastEngine&, double, double);

} // namespace velmora
