// SPDX-License-Identifier: GPL-3.0-or-later
// Mode "G, R (III)" over any engine; included by the engine seam alone,
// which instantiates it.
#pragma once

#include "fit/FitEngine.h"
#include "fit/Fits.h"
#include "fit/PolarizationRatio.h"
#include "fit/Search.h"
#include "fit/SearchGeometry.h"

#include <limits>

namespace velmora {

// For every time point, the candidate of the smallest combined measure:
// spreads outermost, then radii Rmin + j * dR of a window that starts at
// 1..10 and follows the accepted index, then dampings g0 + g * dG, g =
// 0..20, of the damping range of mode "G, R (II)" at its plasma energy. The
// first candidate of strictly smaller measure wins; it sets Rfit, Conc,
// VxFit (the intensities' non-agreement), GamFit and SigmaFit.
template <FitEngine Engine> void runCombinedFit(RunState& run, Engine& engine) {
    const RunParameters& p = run.params;
    FitResult& r = run.result;
    RunView& view = run.view;
    const double wp = run.settings.polarizationPlasmaEnergy;
    const Range& dampings = run.settings.polarizationDamping;
    const double dG = gridStep(dampings.lowest, dampings.highest, kCombinedDampingSteps);
    auto scorers = scorersPerSpread(p, [&](double sigma) {
        return engine.combinedScorer(p, {wp, dampings.lowest, dG, sigma});
    });
    SearchWindow window{kCombinedWindow.first, kCombinedWindow.width};
    int accepted = window.lo;
    for (int t = 1; t <= run.timePoints(); ++t) {
        const Measured measured = run.measuredAt(t);
        std::array<double, kWavelengths> ratios{};
        for (int k = 0; k < kWavelengths; ++k) {
            ratios[k] = measuredPolRatio(measured.iv[k], measured.ih[k]);
        }
        double best = std::numeric_limits<double>::infinity();
        for (std::size_t s = 0; s < scorers.size(); ++s) {
            auto& scorer = scorers[s];
            scorer.beginTimePoint(measured, ratios, window);
            for (int j = window.lo; j <= window.hi; ++j) {
                const double radius = scorer.radius(j);
                for (int g = 0; g <= kCombinedDampingSteps; ++g) {
                    pollStop(view);
                    const double damping = scorer.damping(g);
                    const CombinedScore score = scorer.score({j, g, radius, damping});
                    if (score.measure < best) {
                        best = score.measure;
                        r.Rfit[t] = radius;
                        r.Conc[t] = score.mean;
                        r.VxFit[t] = score.vx;
                        r.GamFit[t] = damping;
                        r.SigmaFit[t] = p.Sigma[s];
                        accepted = j;
                    }
                }
            }
        }
        window.moveTo(accepted, kCombinedWindow.width, p.N);
        view.advanced(t, run.timePoints());
    }
    fillModel(run, engine, meanOverTime(run, r.GamFit), wp, meanOverTime(run, r.SigmaFit));
    reportOverTime(run, Quantity::Radius, r.Rfit);
    reportOverTime(run, Quantity::Concentration, r.Conc);
    reportOverTime(run, Quantity::NonAgreement, r.VxFit);
    reportOverTime(run, Quantity::Damping, r.GamFit);
}

} // namespace velmora
