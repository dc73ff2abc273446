#include "DirectScans.h"
#include "FastScans.h"
#include "Fits.h"
#include "Numbers.h"
#include "Search.h"

namespace velmora {

template <typename Scans>
void fitRadiusPerTimePoint(RunState& run, Scans& scans, const std::vector<double>& gamAt, double wp,
                           bool pollsStop) {
    const RunParameters& p = run.params;
    RunResult& r = run.result;
    constexpr int width = 10;
    auto scorer = scans.radiusScorer(p, wp);
    SearchWindow window{1, width};
    int b = 0;
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
                b = j;
            }
        }
        window.moveTo(b, width, p.N);
    }
}

template <typename Scans> void runRadiusFit(RunState& run, Scans& scans) {
    const double wp = parseDecimal(run.inputs.edit[5]);
    const double gam = parseDecimal(run.inputs.edit[6]);
    fillModel(run, scans, gam, wp);
    fitRadiusPerTimePoint(run, scans, std::vector<double>(run.timePoints() + 1, gam), wp, false);
    const RunResult& r = run.result;
    plotOverTime(run, SeriesId::Series9, r.Rfit, Colour::Red);
    plotOverTime(run, SeriesId::LineSeries2, r.Conc, Colour::Red);
    plotOverTime(run, SeriesId::LineSeries3, r.VxFit, Colour::Red);
}

template void fitRadiusPerTimePoint(RunState&, DirectScans&, const std::vector<double>&, double,
                                    bool);
template void fitRadiusPerTimePoint(RunState&, FastScans&, const std::vector<double>&, double,
                                    bool);
template void runRadiusFit(RunState&, DirectScans&);
template void runRadiusFit(RunState&, FastScans&);

} // namespace velmora
