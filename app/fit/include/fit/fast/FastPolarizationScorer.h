// SPDX-License-Identifier: GPL-3.0-or-later
// The fast engine's scorer of FitPolarizationRatio: for each time point the
// mismatch of every (radius, damping) pair of the window, scored in parallel
// from a table that holds the model values of the window's radii at the
// pass's wavelength, computed when the window first reaches a radius: the
// refractive index of each damping once per pass, the scattering matrix's
// steps that depend on the size alone once per radius.
#pragma once

#include "fit/IntensityModel.h"
#include "fit/PolarizationRatio.h"
#include "fit/RunState.h"
#include "fit/Scorers.h"
#include "fit/fast/GridTable.h"
#include "fit/fast/ModelRing.h"
#include "fit/fast/WorkerPool.h"

#include <vector>

namespace velmora {

class FastPolarizationScorer {
public:
    FastPolarizationScorer(const RunParameters& p, WorkerPool& pool, const PolarizationGrid& grid);

    void beginTimePoint(double measuredRatio, const SearchWindow& window);

    double radius(int r) const { return radii_.at(r); }
    double damping(int s) const { return dampings_.at(s); }
    PolarizationMismatch mismatch(const PolarizationCandidate& c) const {
        const std::size_t e = static_cast<std::size_t>(c.radiusIndex - lo_) * dampingCount_ +
                              dampings_.distinctOf(c.dampingIndex);
        return {value_[e], fault_[e]};
    }

private:
    void scoreRadius(int radiusIndex, bool fresh);

    const RunParameters& p_;
    PolarizationGrid grid_;
    WorkerPool& pool_;
    GridTable radii_;
    GridTable dampings_;
    int dampingCount_;
    ModelRing ring_;
    std::vector<RefractiveIndex> indices_; // of every distinct damping, once needed
    double measuredRatio_ = 0.0;
    int lo_ = 0;
    int width_ = 0;
    std::vector<char> fresh_;
    std::vector<double> value_;
    std::vector<FpFault> fault_;
};

} // namespace velmora
