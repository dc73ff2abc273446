// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/FastCombinedScorer.h"

#include "fit/SearchGeometry.h"

#include <numeric>

namespace velmora {

FastCombinedScorer::FastCombinedScorer(const RunParameters& p, WorkerPool& pool,
                                       const GridTable& radii, RadiusModelCache& models,
                                       const CombinedGrid& grid)
    : p_(p), pool_(pool), radii_(radii), models_(models), grid_(grid),
      dampings_(grid.g0, grid.dG, 0, kCombinedDampingSteps),
      dampingCount_(dampings_.distinctCount()) {}

void FastCombinedScorer::beginTimePoint(const Measured& measured,
                                        const std::array<double, kWavelengths>& measuredRatios,
                                        const SearchWindow& window) {
    lo_ = window.lo;
    indices_.resize(window.size());
    std::iota(indices_.begin(), indices_.end(), window.lo);
    scores_.assign(indices_.size() * dampingCount_, {});
    for (int d = 0; d < dampingCount_; ++d) {
        const GridPoint& damping = dampings_.point(dampings_.firstIndexOf(d));
        if (damping.fault != FpFault::None) {
            continue; // damping() faults before a pair is scored
        }
        models_.ensure(p_, pool_, radii_, indices_, damping.value, grid_.wp, grid_.sigma);
        for (int index : indices_) {
            if (radii_.faulted(index)) {
                continue; // radius() faults before a pair is scored
            }
            scores_[entry(index, dampings_.firstIndexOf(d))] = combinedMatch(
                measured, measuredRatios, models_.at(index, damping.value, grid_.wp, grid_.sigma));
        }
    }
}

} // namespace velmora
