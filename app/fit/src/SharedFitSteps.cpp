// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/Fits.h"
#include "fit/FpFault.h"

namespace velmora {

void reportOverTime(RunState& run, Quantity quantity, const std::vector<double>& values) {
    run.result.overTime.push_back(
        {quantity, std::vector<double>(values.begin() + 1, values.begin() + 1 + run.timePoints())});
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
