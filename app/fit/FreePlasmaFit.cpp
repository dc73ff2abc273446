#include "Fits.h"
#include "Search.h"

namespace velmora {

namespace {
constexpr int kPlasmaSteps = 20;
constexpr int kDampingSteps = 100;
constexpr int kWindowWidth = 20;

} // namespace

void runFreePlasmaFit(RunState& run) {
    const RunParameters& p = run.params;
    RunResult& r = run.result;
    RunView& view = run.view;
    const double dWp = gridStep(p.WpMin, p.WpMax, kPlasmaSteps);
    const double dGam = gridStep(p.GamMin, p.GamMax, kDampingSteps);
    view.createProgress(run.timePoints());
    SearchWindow window{0, kWindowWidth};
    int b = 0;
    for (int t = 1; t <= run.timePoints(); ++t) {
        view.setProgress(t);
        const Measured measured = run.measuredAt(t);
        double best = 100.0;
        // Plasma energy outermost, then damping, then radius: with strict
        // improvement the first candidate in this order wins a tie.
        for (int i = 0; i <= kPlasmaSteps; ++i) {
            const double wp = gridValue(p.WpMin, i, dWp);
            for (int j = 0; j <= kDampingSteps; ++j) {
                const double gam = gridValue(p.GamMin, j, dGam);
                for (int k = window.lo; k <= window.hi; ++k) {
                    pollStop(view);
                    const double radius = gridValue(p.Rmin, k, p.dR);
                    const MatchValue match =
                        scoreCandidate(measured, p.Lambda.data(), radius, gam, wp, p.W0);
                    if (match.vx < best) {
                        best = match.vx;
                        r.Rfit[t] = radius;
                        r.Conc[t] = match.mean;
                        r.VxFit[t] = match.vx;
                        r.GamFit[t] = gam;
                        r.WpFit[t] = wp;
                        b = k;
                    }
                }
            }
        }
        window.moveTo(b, kWindowWidth, p.N);
        view.setProgress(0);
    }
    plotOverTime(run, SeriesId::Series9, r.Rfit, Colour::Red);
    plotOverTime(run, SeriesId::LineSeries2, r.Conc, Colour::Red);
    plotOverTime(run, SeriesId::LineSeries3, r.VxFit, Colour::Red);
    plotOverTime(run, SeriesId::Series15, r.GamFit, Colour::Red);
    plotOverTime(run, SeriesId::Series14, r.WpFit, Colour::Red);
}

} // namespace velmora
