// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/CombinedMatch.h"

#include "fit/PolarizationRatio.h"

namespace velmora {

CombinedMatch combinedMatch(const Measured& measured,
                            const std::array<double, kWavelengths>& measuredRatios,
                            const std::array<ModelValue, kWavelengths>& models) {
    const MatchValue match = MatchIntensities(measured, models);
    if (match.fault != FpFault::None) {
        return {0.0, 0.0, 0.0, match.fault};
    }
    std::array<double, kWavelengths> mismatch{};
    for (int k = 0; k < kWavelengths; ++k) {
        const PolarizationMismatch m = polarizationMismatch(measuredRatios[k], models[k]);
        if (m.fault != FpFault::None) {
            return {0.0, 0.0, 0.0, m.fault};
        }
        mismatch[k] = m.value;
    }
    double vx = match.vx;
    clearFpFlags();
    pinFp(vx, mismatch);
    const double relative = vx / 100.0;
    const double v = 8.0 * relative * relative;
    double measure = 8.0 * v / (1.0 + v);
    for (double m : mismatch) {
        measure += m * m;
    }
    if (const FpFault f = faultAfter(measure); f != FpFault::None) {
        return {0.0, 0.0, 0.0, f};
    }
    return {match.mean, match.vx, measure, FpFault::None};
}

} // namespace velmora
