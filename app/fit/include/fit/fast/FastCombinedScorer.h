// SPDX-License-Identifier: GPL-3.0-or-later
// The fast engine's scorer of mode "G, R (III)": when a time point begins it
// has the run's RadiusModelCache compute, in parallel, the model values of
// every (window radius, damping) pair it does not hold yet, and then scores
// each pair with combinedMatch, as the direct engine does when the search
// reaches it.
#pragma once

#include "fit/CombinedMatch.h"
#include "fit/Scorers.h"
#include "fit/fast/RadiusModelCache.h"

#include <vector>

namespace velmora {

class FastCombinedScorer {
public:
    FastCombinedScorer(const RunParameters& p, WorkerPool& pool, const GridTable& radii,
                       RadiusModelCache& models, const CombinedGrid& grid);

    void beginTimePoint(const Measured& measured,
                        const std::array<double, kWavelengths>& measuredRatios,
                        const SearchWindow& window);

    double radius(int j) const { return radii_.at(j); }
    double damping(int g) const { return dampings_.at(g); }
    CombinedScore score(const CombinedCandidate& c) const {
        const CombinedMatch& m = scores_[entry(c.radiusIndex, c.dampingIndex)];
        if (m.fault != FpFault::None) {
            throwFpFault(m.fault);
        }
        return {m.mean, m.vx, m.measure};
    }

private:
    std::size_t entry(int radiusIndex, int dampingIndex) const {
        return static_cast<std::size_t>(radiusIndex - lo_) * dampingCount_ +
               dampings_.distinctOf(dampingIndex);
    }

    const RunParameters& p_;
    WorkerPool& pool_;
    const GridTable& radii_;
    RadiusModelCache& models_;
    CombinedGrid grid_;
    GridTable dampings_;
    int dampingCount_;
    int lo_ = 0;
    std::vector<int> indices_;
    std::vector<CombinedMatch> scores_;
};

} // namespace velmora
