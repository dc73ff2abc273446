// SPDX-License-Identifier: GPL-3.0-or-later
// The fast engine: the same fitting loops as the direct engine, with
// scorers that compute each distinct model value of a run once, score the
// candidates of a time point in batches on all cores, and replay the faults
// in the order the loops meet them, so that runs give exactly the direct
// engine's results, drawings and messages. The stop test, the progress bar
// and the stop question stay on the thread that runs the fit. The tables of
// the sphere in vacuum are filled through the prepared sizes and indices of
// IntensityModel.h; those of a particle in a medium or of a spread through
// runModel, value by value, the direct engine's own function.
#pragma once

#include "fit/fast/FastCombinedScorer.h"
#include "fit/fast/FastJointScorer.h"
#include "fit/fast/FastPolarizationScorer.h"
#include "fit/fast/FastRadiusScorer.h"

namespace velmora {

class FastEngine {
public:
    // Computes on `threads` threads, the calling one included (at least 1).
    FastEngine(const RunParameters& p, int threads);

    using ModelSource = FastModelSource;
    using RadiusScorer = FastRadiusScorer;
    using JointScorer = FastJointScorer;
    using PolarizationScorer = FastPolarizationScorer;
    using CombinedScorer = FastCombinedScorer;

    ModelSource modelSource(const RunParameters& p, double gam, double wp, double sigma) {
        return {p, pool_, radii_, radiusModels_, gam, wp, sigma};
    }
    RadiusScorer radiusScorer(const RunParameters& p, double wp, double sigma) {
        return {p, pool_, radii_, radiusModels_, wp, sigma};
    }
    JointScorer jointScorer(const RunParameters& p, double dWp, double dGam, double sigma) {
        return {p, pool_, radii_, dWp, dGam, sigma};
    }
    PolarizationScorer polarizationScorer(const RunParameters& p, const PolarizationGrid& grid) {
        return {p, pool_, grid};
    }
    CombinedScorer combinedScorer(const RunParameters& p, const CombinedGrid& grid) {
        return {p, pool_, radii_, radiusModels_, grid};
    }

private:
    WorkerPool pool_;
    // The run's radius grid Rmin + index * dR over every index a window can
    // reach: 0..N, and 0..20 for the first windows when N is smaller.
    GridTable radii_;
    RadiusModelCache radiusModels_;
};

} // namespace velmora
