// SPDX-License-Identifier: GPL-3.0-or-later
// Mode "G, R (II)" over any engine; included by the engine seam alone, which
// instantiates it.
#pragma once

#include "fit/FitEngine.h"
#include "fit/Fits.h"
#include "fit/Numbers.h"
#include "fit/PolarizationRatio.h"
#include "fit/Search.h"
#include "fit/SearchGeometry.h"

namespace velmora {

namespace {
// The arrays FitPolarizationRatio fills for every time point it processes.
struct PolarizationOutputs {
    std::vector<double>& mismatch;
    std::vector<double>& radius;
    std::vector<double>& damping;
    std::vector<double>& sigma;
};

// For every time point, the radius and damping (damping steps 1..100 of the
// range PolGamMin..PolGamMax, radius indices in a window that starts at 1..20 and
// then follows the accepted index) whose model polarisation ratio lies
// closest to the measured one, below 1.
template <FitEngine Engine>
void FitPolarizationRatio(RunState& run, Engine& engine, const std::vector<double>& v,
                          const std::vector<double>& h, double wp, double lambda,
                          const PolarizationOutputs& out, PassSteps steps) {
    const RunParameters& p = run.params;
    RunView& view = run.view;
    const double g0 = run.settings.polarizationDamping.lowest;
    const double g1 = run.settings.polarizationDamping.highest;
    const double dG = gridStep(g0, g1, kPolarizationDampingSteps);
    auto scorers = scorersPerSpread(p, [&](double sigma) {
        return engine.polarizationScorer(p, {lambda, wp, p.Rmin, p.dR, p.N, g0, dG, sigma});
    });
    SearchWindow window{kPolarizationWindow.first, kPolarizationWindow.width};
    int accepted = window.lo;
    for (int t = 1; t <= run.timePoints(); ++t) {
        pollStop(view);
        const double measuredRatio = measuredPolRatio(v[t], h[t]);
        out.mismatch[t] = 1.0;
        for (std::size_t spread = 0; spread < scorers.size(); ++spread) {
            auto& scorer = scorers[spread];
            scorer.beginTimePoint(measuredRatio, window);
            for (int r = window.lo; r <= window.hi; ++r) {
                const double radius = scorer.radius(r);
                for (int s = 1; s <= kPolarizationDampingSteps; ++s) {
                    const double damping = scorer.damping(s);
                    const PolarizationMismatch mismatch = scorer.mismatch({r, s, radius, damping});
                    if (mismatch.fault != FpFault::None) {
                        throwFpFault(mismatch.fault);
                    }
                    if (mismatch.value < out.mismatch[t]) {
                        out.mismatch[t] = mismatch.value;
                        out.damping[t] = damping;
                        out.radius[t] = radius;
                        out.sigma[t] = p.Sigma[spread];
                        accepted = r;
                    }
                }
            }
        }
        window.moveTo(accepted, kPolarizationWindow.width, p.N);
        view.advanced(steps.first + t, steps.total);
    }
}

// GamFit[t] := the mean of the four dampings, GamSpread[t] := 100 * S /
// (4 * GamFit[t]) with S their summed squared deviation from it (0 when the
// mean is 0).
void averageDampings(RunState& run, const std::vector<std::array<double, kWavelengths>>& gamK) {
    FitResult& r = run.result;
    for (int t = 1; t <= run.timePoints(); ++t) {
        std::array<double, kWavelengths> g = gamK[t];
        clearFpFlags();
        pinFp(g);
        double sum = 0.0;
        for (double gk : g) {
            sum += gk;
        }
        double mean = sum / kWavelengths;
        double squares = 0.0;
        for (double gk : g) {
            squares += (mean - gk) * (mean - gk);
        }
        double spread = (mean == 0.0) ? 0.0 : 100.0 * squares / (4.0 * mean);
        throwIfFpFault(mean, spread);
        r.GamFit[t] = mean;
        r.GamSpread[t] = spread;
    }
}

} // namespace

template <FitEngine Engine> void runPolarizationFit(RunState& run, Engine& engine) {
    FitResult& r = run.result;
    RunView& view = run.view;
    const double wp = run.settings.polarizationPlasmaEnergy;
    const int points = run.timePoints();
    std::vector<std::array<double, kWavelengths>> gamK(points + 1);
    std::vector<double> v(points + 1);
    std::vector<double> h(points + 1);
    // The four passes and the radius fit take one step per time point each.
    const int totalSteps = (kWavelengths + 1) * points;
    for (int k = 1; k <= kWavelengths; ++k) {
        pollStop(view);
        view.passLabel("Lambda = " + formatGeneral(run.params.Lambda[k]));
        for (int t = 1; t <= points; ++t) {
            v[t] = run.measuredV(t, k);
            h[t] = run.measuredH(t, k);
        }
        // GamSpread holds the mismatch until averageDampings writes the
        // spread of the dampings into it.
        FitPolarizationRatio(
            run, engine, v, h, wp, run.params.Lambda[k],
            {.mismatch = r.GamSpread, .radius = r.Rfit, .damping = r.GamFit, .sigma = r.SigmaFit},
            {(k - 1) * points, totalSteps});
        for (int t = 1; t <= points; ++t) {
            gamK[t][k - 1] = r.GamFit[t];
        }
    }
    view.passLabel("");
    averageDampings(run, gamK);
    // The prediction comes before the radius fit: at the mean spread of the
    // last polarisation pass.
    fillModel(run, engine, meanOverTime(run, r.GamFit), wp, meanOverTime(run, r.SigmaFit));
    fitRadiusPerTimePoint(run, engine, r.GamFit, wp, true, {kWavelengths * points, totalSteps});
    reportOverTime(run, Quantity::Radius, r.Rfit);
    reportOverTime(run, Quantity::Concentration, r.Conc);
    reportOverTime(run, Quantity::DampingSpread, r.GamSpread);
    reportOverTime(run, Quantity::MeanDamping, r.GamFit);
}

} // namespace velmora
