// SPDX-License-Identifier: GPL-3.0-or-later
// What a fitting mode asks of an engine, as a concept both engines satisfy,
// and the one place that chooses the engine of a run.
//
// An engine hands out a model source and three scorers; the modes' loops
// (written once, in src/modes/) ask them for grid values and candidate
// scores in the order the loops meet them. The direct engine computes each
// value when asked; the fast one looks it up in tables it fills ahead in
// parallel. Both must give the same value, bit for bit, and the same fault at
// the same candidate: the fits' arrays, tables, stop tests and messages may
// not depend on the engine.
#pragma once

#include "fit/IntensityModel.h"
#include "fit/Match.h"
#include "fit/PolarizationRatio.h"
#include "fit/RunParameters.h"
#include "fit/RunState.h"
#include "fit/Scorers.h"
#include "fit/Search.h"

#include <concepts>

namespace velmora {

// The model over the radius grid of the prediction table.
template <typename Source>
concept ModelSourceOfEngine = requires(const Source& source, int k, int i, double radius) {
    { source.radius(i) } -> std::convertible_to<double>;
    { source.model(k, i, radius) } -> std::convertible_to<ModelValue>;
};

// The radius search of modes R and "G, R (II)".
template <typename Scorer>
concept RadiusScorerOfEngine = requires(Scorer& scorer, const Measured& measured,
                                        SearchWindow window, double gam, int j, double radius) {
    scorer.beginTimePoint(measured, window, gam);
    { scorer.radius(j) } -> std::convertible_to<double>;
    { scorer.score(j, radius) } -> std::convertible_to<CandidateScore>;
};

// The joint search of mode "G, R (I)".
template <typename Scorer>
concept JointScorerOfEngine = requires(Scorer& scorer, const Measured& measured,
                                       SearchWindow window, int i, const JointCandidate& c) {
    scorer.beginTimePoint(measured, window);
    { scorer.plasmaEnergy(i) } -> std::convertible_to<double>;
    { scorer.damping(i) } -> std::convertible_to<double>;
    { scorer.radius(i) } -> std::convertible_to<double>;
    { scorer.repeatsEarlierRow(i) } -> std::convertible_to<bool>;
    { scorer.score(c) } -> std::convertible_to<CandidateScore>;
};

// The joint search of radius and damping of mode "G, R (III)".
template <typename Scorer>
concept CombinedScorerOfEngine = requires(Scorer& scorer, const Measured& measured,
                                          const std::array<double, kWavelengths>& ratios,
                                          SearchWindow window, int i, const CombinedCandidate& c) {
    scorer.beginTimePoint(measured, ratios, window);
    { scorer.radius(i) } -> std::convertible_to<double>;
    { scorer.damping(i) } -> std::convertible_to<double>;
    { scorer.score(c) } -> std::convertible_to<CombinedScore>;
};

// The polarisation pass of mode "G, R (II)".
template <typename Scorer>
concept PolarizationScorerOfEngine = requires(Scorer& scorer, double ratio, SearchWindow window,
                                              int i, const PolarizationCandidate& c) {
    scorer.beginTimePoint(ratio, window);
    { scorer.radius(i) } -> std::convertible_to<double>;
    { scorer.damping(i) } -> std::convertible_to<double>;
    { scorer.mismatch(c) } -> std::convertible_to<PolarizationMismatch>;
};

// Every source and scorer takes the spread of sizes (sigma) its model values
// are averaged over.
template <typename Engine>
concept FitEngine = requires(Engine& engine, const RunParameters& p, const PolarizationGrid& grid,
                             const CombinedGrid& combined, double value) {
    { engine.modelSource(p, value, value, value) } -> ModelSourceOfEngine;
    { engine.radiusScorer(p, value, value) } -> RadiusScorerOfEngine;
    { engine.jointScorer(p, value, value, value) } -> JointScorerOfEngine;
    { engine.polarizationScorer(p, grid) } -> PolarizationScorerOfEngine;
    { engine.combinedScorer(p, combined) } -> CombinedScorerOfEngine;
};

// How a run evaluates its fits. Direct computes every candidate of every
// search one model evaluation after another, in the order the fitting loops
// meet them; it is the reference. Fast computes each distinct model value of
// the run once and scores the candidates of a time point in parallel on all
// cores, with the same results, the same reports to the view and the same
// messages.
enum class EngineKind { Direct, Fast };

// The fit of the run's mode (none for FitMode::None and Blank) with the
// chosen engine: the one place that names both engines. The fast engine
// computes on `threads` threads (at least 1), the calling one included.
void runModeFit(RunState& run, EngineKind kind, int threads);

} // namespace velmora
