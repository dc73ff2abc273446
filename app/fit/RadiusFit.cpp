#include "Fits.h"
#include "Numbers.h"
#include "Search.h"

namespace velmora {

void fitRadiusPerTimePoint(RunState& run, const std::vector<double>& gamAt, double wp,
                           bool pollsStop) {
    const RunParameters& p = run.params;
    RunResult& r = run.result;
    constexpr int width = 10;
    SearchWindow window{1, width};
    int b = 0;
    for (int t = 1; t <= run.timePoints(); ++t) {
        const Measured measured = run.measuredAt(t);
        double best = 100.0;
        for (int j = window.lo; j <= window.hi; ++j) {
            if (pollsStop) {
                pollStop(run.view);
            }
            const double radius = gridValue(p.Rmin, j, p.dR);
            const MatchValue match =
                scoreCandidate(measured, p.Lambda.data(), radius, gamAt[t], wp, p.W0);
            if (match.vx < best) {
                best = match.vx;
                r.Rfit[t] = radius;
                r.Conc[t] = match.mean;
                r.VxFit[t] = match.vx;
                b = j;
            }
        }
        window.moveTo(b, width, p.N);
    }
}

void runRadiusFit(RunState& run) {
    const double wp = parseDecimal(run.inputs.edit[5]);
    const double gam = parseDecimal(run.inputs.edit[6]);
    fillModel(run, gam, wp);
    fitRadiusPerTimePoint(run, std::vector<double>(run.timePoints() + 1, gam), wp, false);
    const RunResult& r = run.result;
    plotOverTime(run, SeriesId::Series9, r.Rfit, Colour::Red);
    plotOverTime(run, SeriesId::LineSeries2, r.Conc, Colour::Red);
    plotOverTime(run, SeriesId::LineSeries3, r.VxFit, Colour::Red);
}

} // namespace velmora
