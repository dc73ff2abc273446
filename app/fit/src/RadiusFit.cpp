// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/DirectEngine.h"
#include "fit/Fits.h"
#include "fit/Search.h"
#include "fit/fast/FastEngine.h"

namespace velmora {

template <typename Engine>
void fitRadiusPerTimePoint(RunState& run, Engine& engine, const std::vector<double>& gamAt,
                           double wp, bool pollsStop) {
    const RunParameters& p = run.params;
    RunResult& r = run.result;
    constexpr int width = 10;
    auto scorer = engine.radiusScorer(p, wp);
    SearchWindow window{1, width};
    int accepted = 0;
    for (int t = 1; t <= run.timePoints(); ++t) {
        scorer.beginTimePoint(run.measuredAt(t), window, gamAt[t]);
        double best = 100.0;
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
                accepted = j;
            }
        }
        window.moveTo(accepted, width, p.N);
    }
}

template <typename Engine> void runRadiusFit(RunState& run, Engine& engine) {
    const double wp = run.settings.plasmaEnergy;
    const double gam = run.settings.damping;
    fillModel(run, engine, gam, wp);
    fitRadiusPerTimePoint(run, engine, std::vector<double>(run.timePoints() + 1, gam), wp, false);
    const RunResult& r = run.result;
    plotOverTime(run, SeriesId::Series9, r.Rfit, Colour::Red);
    plotOverTime(run, SeriesId::LineSeries2, r.Conc, Colour::Red);
    plotOverTime(run, SeriesId::LineSeries3, r.VxFit, Colour::Red);
}

template void fitRadiusPerTimePoint(RunState&, DirectEngine&, const std::vector<double>&, double,
                                    bool);
template void fitRadiusPerTimePoint(RunState&, FastEngine&, const std::vector<double>&, double,
                                    bool);
template void runRadiusFit(RunState&, DirectEngine&);
template void runRadiusFit(RunState&, FastEngine&);

} // namespace velmora
