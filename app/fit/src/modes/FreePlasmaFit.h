// SPDX-License-Identifier: GPL-3.0-or-later
// Mode "G, R (I)" over any engine; included by the engine seam alone, which
// instantiates it.
#pragma once

#include "fit/FitEngine.h"
#include "fit/Fits.h"
#include "fit/Search.h"
#include "fit/SearchGeometry.h"

#include <algorithm>

namespace velmora {

namespace {
// The stop tests of a row asked before its candidates are taken: the first
// `answeredSet` found the flag set and, when fewer than the row's, the next
// found it cleared and awaits its question.
struct AskedStopTests {
    int answeredSet = 0;
    bool clearedNext = false;

    // The stop test of the row's candidate n, unless asked already.
    void pollStop(RunView& view, int n) const {
        if (n < answeredSet) {
            return;
        }
        if (n == answeredSet && clearedNext) {
            answerStop(view);
            return;
        }
        velmora::pollStop(view);
    }
};

AskedStopTests askStopTests(RunView& view, int count) {
    const int answered = view.pollsWhileSet(count);
    return {answered, answered < count};
}

} // namespace

template <FitEngine Engine> void runFreePlasmaFit(RunState& run, Engine& engine) {
    const RunParameters& p = run.params;
    FitResult& r = run.result;
    RunView& view = run.view;
    const double dWp = gridStep(p.WpMin, p.WpMax, kJointPlasmaSteps);
    const double dGam = gridStep(p.GamMin, p.GamMax, kJointDampingSteps);
    auto scorers =
        scorersPerSpread(p, [&](double sigma) { return engine.jointScorer(p, dWp, dGam, sigma); });
    SearchWindow window{kJointWindow.first, kJointWindow.width};
    int accepted = 0;
    for (int t = 1; t <= run.timePoints(); ++t) {
        double best = 100.0;
        double sigma = 0.0;
        // Keeps a candidate strictly better than the best so far.
        const auto consider = [&](const CandidateScore& score, double wp, double gam, double radius,
                                  int k) {
            if (score.vx < best) {
                best = score.vx;
                r.Rfit[t] = radius;
                r.Conc[t] = score.mean;
                r.VxFit[t] = score.vx;
                r.GamFit[t] = gam;
                r.WpFit[t] = wp;
                r.SigmaFit[t] = sigma;
                accepted = k;
            }
        };
        // Spread outermost, then plasma energy, then damping, then radius:
        // with strict improvement the first candidate in this order wins a
        // tie.
        for (std::size_t s = 0; s < scorers.size(); ++s) {
            auto& scorer = scorers[s];
            sigma = p.Sigma[s];
            scorer.beginTimePoint(run.measuredAt(t), window);
            for (int i = 0; i <= kJointPlasmaSteps; ++i) {
                const double wp = scorer.plasmaEnergy(i);
                const int candidates = (kJointDampingSteps + 1) * window.size();
                if (scorer.repeatsEarlierRow(i)) {
                    // Every candidate of the row equals one scored before it,
                    // which did not fault: none can be strictly better. Only
                    // the stop tests remain.
                    pollStops(view, candidates);
                    continue;
                }
                AskedStopTests asked{};
                if constexpr (requires { scorer.rowBest(i); }) {
                    // A row free of faults whose stop tests all find the flag
                    // set ends with its winner, whichever candidate that is.
                    const RowBest row = scorer.rowBest(i);
                    if (row.faultFree) {
                        asked = askStopTests(view, candidates);
                        if (asked.answeredSet == candidates) {
                            if (row.radiusIndex >= 0) {
                                consider({row.mean, row.vx}, wp, scorer.damping(row.gamIndex),
                                         scorer.radius(row.radiusIndex), row.radiusIndex);
                            }
                            continue;
                        }
                    }
                }
                int n = 0;
                for (int j = 0; j <= kJointDampingSteps; ++j) {
                    const double gam = scorer.damping(j);
                    for (int k = window.lo; k <= window.hi; ++k) {
                        asked.pollStop(view, n++);
                        const double radius = scorer.radius(k);
                        consider(scorer.score({i, j, k, wp, gam, radius}), wp, gam, radius, k);
                    }
                }
            }
        }
        window.moveTo(accepted, kJointWindow.width, p.N);
        view.advanced(t, run.timePoints());
    }
    // The prediction table at the mean fitted damping and plasma energy.
    fillModel(run, engine, meanOverTime(run, r.GamFit), meanOverTime(run, r.WpFit),
              meanOverTime(run, r.SigmaFit));
    reportOverTime(run, Quantity::Radius, r.Rfit);
    reportOverTime(run, Quantity::Concentration, r.Conc);
    reportOverTime(run, Quantity::NonAgreement, r.VxFit);
    reportOverTime(run, Quantity::Damping, r.GamFit);
    reportOverTime(run, Quantity::PlasmaEnergy, r.WpFit);
}

} // namespace velmora
