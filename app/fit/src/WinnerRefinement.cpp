// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/WinnerRefinement.h"

#include "fit/RunModel.h"
#include "fit/Search.h"
#include "fit/fast/WorkerPool.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

namespace {
// Time points refined between two stop tests.
constexpr int kRefinementBatch = 32;

constexpr double kUnbounded = std::numeric_limits<double>::infinity();

// A value the grid searched over a range wider than a point is free, its
// scale the range's width.
bool isFree(const Range& range) {
    return range.lowest < range.highest;
}

// Free over a range: flagged outside it, and not evaluated beyond one
// range's width on either side of it.
FreeParameter freeOver(double start, const Range& range) {
    const double width = range.highest - range.lowest;
    return {.start = start,
            .lo = range.lowest,
            .hi = range.highest,
            .scale = width,
            .floor = range.lowest - width,
            .ceiling = range.highest + width};
}

// The winner's plasma energy and damping, where the refinement does not
// free them: the set values of mode R, the winner's of "G, R (I)", and the
// plasma energy of "G, R (II)" and "G, R (III)" with the winner's damping
// (in "G, R (II)" the mean of the four wavelengths', at which its radius
// pass ran).
struct PlasmaAndDamping {
    double wp;
    double gam;
};

PlasmaAndDamping winnerPlasmaAndDamping(const RunState& run, int t) {
    const FitSettings& s = run.settings;
    const FitResult& r = run.result;
    switch (s.mode) {
    case FitMode::GR1:
        return {r.WpFit[t], r.GamFit[t]};
    case FitMode::GR2:
    case FitMode::GR3:
        return {s.polarizationPlasmaEnergy, r.GamFit[t]};
    default:
        return {s.plasmaEnergy, s.damping};
    }
}

Estimate estimateOf(const TimePointModel& model, FreeValue value, const Refinement& refined) {
    for (std::size_t i = 0; i < model.free.size(); ++i) {
        if (model.free[i] == value) {
            return {refined.values[i], refined.standardErrors[i]};
        }
    }
    switch (value) {
    case FreeValue::Radius:
        return {.value = model.sizes.median};
    case FreeValue::Concentration:
        return {.value = model.concentration};
    case FreeValue::PlasmaEnergy:
        return {.value = model.particle.wp};
    case FreeValue::Damping:
        return {.value = model.particle.gam};
    case FreeValue::Sigma:
        return {.value = std::fabs(model.sizes.sigma)};
    }
    return {};
}

TimePointEstimates refinedEstimates(const RunState& run, int t, const WinnerProblem& problem) {
    const Refinement refined =
        refine(problem.residuals, problem.residualCount, problem.parameters, problem.noise);
    const TimePointModel& m = problem.model;
    return {
        .radius = estimateOf(m, FreeValue::Radius, refined),
        .sigma = estimateOf(m, FreeValue::Sigma, refined),
        .plasmaEnergy = estimateOf(m, FreeValue::PlasmaEnergy, refined),
        .damping = estimateOf(m, FreeValue::Damping, refined),
        .concentration = estimateOf(m, FreeValue::Concentration, refined),
        .vx = run.result.VxFit[t],
        .chi2Reduced = refined.chi2Reduced,
        .refined = true,
        .converged = refined.converged,
        .insideRanges = refined.insideRanges,
    };
}

} // namespace

std::optional<WinnerProblem> winnerProblem(const RunState& run, int t) {
    const FitSettings& s = run.settings;
    const RunParameters& p = run.params;
    const FitResult& r = run.result;
    if (!fitsSomething(s.mode) || r.Conc[t] == 0.0 || !std::isfinite(r.Conc[t])) {
        return std::nullopt;
    }
    const PlasmaAndDamping fixed = winnerPlasmaAndDamping(run, t);
    WinnerProblem problem{
        .model = {.measured = run.measuredAt(t),
                  .lambda = {p.Lambda[1], p.Lambda[2], p.Lambda[3], p.Lambda[4]},
                  .particle = runParticle(p, fixed.gam, fixed.wp),
                  .sizes = {r.Rfit[t], r.SigmaFit[t]},
                  .concentration = r.Conc[t],
                  .free = {}},
        .parameters = {},
        .residuals = {},
        .residualCount = s.mode == FitMode::GR3 ? kCombinedResiduals : kIntensityResiduals,
        .noise = {},
    };
    const auto add = [&](FreeValue value, const FreeParameter& parameter) {
        problem.model.free.push_back(value);
        problem.parameters.push_back(parameter);
    };
    FreeParameter radius = freeOver(r.Rfit[t], {p.Rmin, p.Rmax});
    radius.floor = std::max(radius.floor, 0.0);
    add(FreeValue::Radius, radius);
    add(FreeValue::Concentration, {r.Conc[t], -kUnbounded, kUnbounded, std::fabs(r.Conc[t])});
    if (s.mode == FitMode::GR1 && isFree(s.jointPlasmaEnergy)) {
        add(FreeValue::PlasmaEnergy, freeOver(r.WpFit[t], s.jointPlasmaEnergy));
    }
    if (s.mode == FitMode::GR1 && isFree(s.jointDamping)) {
        add(FreeValue::Damping, freeOver(r.GamFit[t], s.jointDamping));
    }
    if (s.mode == FitMode::GR3 && isFree(s.polarizationDamping)) {
        add(FreeValue::Damping, freeOver(r.GamFit[t], s.polarizationDamping));
    }
    if (isFree(s.sigma)) {
        FreeParameter sigma = freeOver(r.SigmaFit[t], s.sigma);
        sigma.signFree = true;
        add(FreeValue::Sigma, sigma);
    }
    if (s.mode == FitMode::GR3) {
        problem.residuals = combinedMeasure(problem.model);
        problem.noise = combinedNoise(problem.model.measured);
    } else {
        problem.residuals = intensityMeasure(problem.model);
    }
    return problem;
}

void refineWinners(RunState& run) {
    FitResult& r = run.result;
    const int points = run.timePoints();
    r.estimates.resize(static_cast<std::size_t>(points));
    WorkerPool pool;
    run.view.passLabel("Refinement");
    for (int first = 1; first <= points; first += kRefinementBatch) {
        pollStop(run.view);
        const int count = std::min(kRefinementBatch, points - first + 1);
        pool.run(count, [&](int task) {
            const int t = first + task;
            if (const auto problem = winnerProblem(run, t)) {
                r.estimates[static_cast<std::size_t>(t - 1)] = refinedEstimates(run, t, *problem);
            }
        });
        run.view.advanced(first + count - 1, points);
    }
    run.view.passLabel("");
}

} // namespace velmora
