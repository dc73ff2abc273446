// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/GridEstimates.h"

#include <utility>

namespace velmora {

namespace {

// A value the grid search found or the settings fixed: no standard error.
Estimate withoutError(double value) {
    return {.value = value};
}

// The plasma energy and damping of time point t (1..timePoints).
std::pair<double, double> plasmaEnergyAndDamping(const RunState& run, int t) {
    const FitSettings& s = run.settings;
    const FitResult& r = run.result;
    switch (s.mode) {
    case FitMode::R:
        return {s.plasmaEnergy, s.damping};
    case FitMode::GR1:
        return {r.WpFit[t], r.GamFit[t]};
    default:
        // "G, R (II)" (the damping is the mean of the four wavelengths') and
        // "G, R (III)".
        return {s.polarizationPlasmaEnergy, r.GamFit[t]};
    }
}

} // namespace

void fillGridEstimates(RunState& run) {
    if (!fitsSomething(run.settings.mode)) {
        return;
    }
    FitResult& r = run.result;
    r.estimates.resize(static_cast<std::size_t>(run.timePoints()));
    for (int t = 1; t <= run.timePoints(); ++t) {
        TimePointEstimates& e = r.estimates[static_cast<std::size_t>(t - 1)];
        if (e.refined) {
            continue;
        }
        const auto [plasmaEnergy, damping] = plasmaEnergyAndDamping(run, t);
        e = TimePointEstimates{
            .radius = withoutError(r.Rfit[t]),
            .sigma = withoutError(r.SigmaFit[t]),
            .plasmaEnergy = withoutError(plasmaEnergy),
            .damping = withoutError(damping),
            .concentration = withoutError(r.Conc[t]),
            .vx = r.VxFit[t],
        };
    }
}

} // namespace velmora
