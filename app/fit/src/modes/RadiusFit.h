// SPDX-License-Identifier: GPL-3.0-or-later
// The radius fit of modes R and "G, R (II)" and mode R itself, over any
// engine; included by the engine seam alone, which instantiates it.
#pragma once

#include "fit/FitEngine.h"
#include "fit/Fits.h"
#include "fit/Search.h"
#include "fit/SearchGeometry.h"

namespace velmora {

template <FitEngine Engine>
void fitRadiusPerTimePoint(RunState& run, Engine& engine, const std::vector<double>& gamAt,
                           double wp, bool pollsStop, PassSteps steps) {
    const RunParameters& p = run.params;
    FitResult& r = run.result;
    constexpr int width = kRadiusFitWindow.width;
    auto scorers =
        scorersPerSpread(p, [&](double sigma) { return engine.radiusScorer(p, wp, sigma); });
    SearchWindow window{kRadiusFitWindow.first, width};
    int accepted = 0;
    for (int t = 1; t <= run.timePoints(); ++t) {
        double best = 100.0;
        for (std::size_t s = 0; s < scorers.size(); ++s) {
            auto& scorer = scorers[s];
            scorer.beginTimePoint(run.measuredAt(t), window, gamAt[t]);
            for (int j = window.lo; j <= window.hi; ++j) {
                if (pollsStop) {
                    pollStop(run.view);
                }
                const double radius = scorer.radius(j);
                const CandidateScore score = scorer.score(j, radius);
                if (score.vx < best) {
                    best = score.vx;
                    r.Rfit[t] = radius;
                    r.Conc[t] = score.mean;
                    r.VxFit[t] = score.vx;
                    r.SigmaFit[t] = p.Sigma[s];
                    accepted = j;
                }
            }
        }
        window.moveTo(accepted, width, p.N);
        run.view.advanced(steps.first + t, steps.total);
    }
}

template <FitEngine Engine> void runRadiusFit(RunState& run, Engine& engine) {
    const double wp = run.settings.plasmaEnergy;
    const double gam = run.settings.damping;
    // The prediction comes before the fit: at the middle of the spreads.
    const std::vector<double>& spreads = run.params.Sigma;
    fillModel(run, engine, gam, wp, (spreads.front() + spreads.back()) / 2.0);
    fitRadiusPerTimePoint(run, engine, std::vector<double>(run.timePoints() + 1, gam), wp, false,
                          {0, run.timePoints()});
    const FitResult& r = run.result;
    reportOverTime(run, Quantity::Radius, r.Rfit);
    reportOverTime(run, Quantity::Concentration, r.Conc);
    reportOverTime(run, Quantity::NonAgreement, r.VxFit);
}

} // namespace velmora
