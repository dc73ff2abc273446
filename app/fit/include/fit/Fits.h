// SPDX-License-Identifier: GPL-3.0-or-later
// The fitting modes of a run and the pieces they share. Each fills the run's
// per-time-point arrays and draws them over time; the results stage follows.
//
// The loops of the modes are written once (src/modes/), over any FitEngine,
// and instantiated for both engines by the one seam that chooses between
// them (runModeFit). Grid values and candidate scores come from the scorers
// of the engine: DirectEngine computes each when the loop reaches it,
// FastEngine looks it up in tables it fills ahead in parallel. Either way a
// fault is thrown, and the stop test runs, at the point of the loop where the
// candidate is met.
#pragma once

#include "fit/FitEngine.h"
#include "fit/RunState.h"

#include <vector>

namespace velmora {

// Adds values[1..timePoints] to the result as the quantity's series over
// time.
void reportOverTime(RunState& run, Quantity quantity, const std::vector<double>& values);

// Where a pass's steps lie in the whole fit's: its time point t is step
// first + t of total.
struct PassSteps {
    int first;
    int total;
};

// The mean of values[1..timePoints] (0 without time points): the plasma
// energy and damping of the prediction table in the modes that fit them.
double meanOverTime(const RunState& run, const std::vector<double>& values);

// Model over the radius grid Rgrid[i] = Rmin + (i - 1) * dR, i = 1..N: for
// each wavelength (outer) and radius (inner) the model intensities with the
// given damping, plasma energy and spread.
template <FitEngine Engine>
void fillModel(RunState& run, Engine& engine, double gam, double wp, double sigma);

// One scorer of the engine for each spread of the run (RunParameters::Sigma),
// made by make(sigma): every time point searches its other candidates at
// each spread in turn.
template <typename Make> auto scorersPerSpread(const RunParameters& p, Make make) {
    std::vector<decltype(make(0.0))> scorers;
    scorers.reserve(p.Sigma.size());
    for (double sigma : p.Sigma) {
        scorers.push_back(make(sigma));
    }
    return scorers;
}

// The radius search of modes "R" and "G, R (II)": for every time point the
// candidates Rmin + j * dR, j in a window that starts at 1..10 and then
// follows the accepted index, at each spread in turn, scored with damping
// gamAt[t]; the first candidate with the smallest Vx below 100 sets Rfit,
// Conc, VxFit and SigmaFit. With pollsStop the stop test runs before every
// candidate.
template <FitEngine Engine>
void fitRadiusPerTimePoint(RunState& run, Engine& engine, const std::vector<double>& gamAt,
                           double wp, bool pollsStop, PassSteps steps);

// Mode "R": radius fit with the fixed plasma energy Wp and damping Gam.
template <FitEngine Engine> void runRadiusFit(RunState& run, Engine& engine);

// Mode "G, R (I)": joint search of plasma energy, damping and radius.
template <FitEngine Engine> void runFreePlasmaFit(RunState& run, Engine& engine);

// Mode "G, R (II)": damping per wavelength from the polarisation ratio, then
// the radius fit with their mean.
template <FitEngine Engine> void runPolarizationFit(RunState& run, Engine& engine);

// Mode "G, R (III)": radius and damping (and the spread) searched together
// against the intensities and the polarisation ratios (combinedMatch).
template <FitEngine Engine> void runCombinedFit(RunState& run, Engine& engine);

} // namespace velmora
