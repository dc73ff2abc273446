// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/FastPolarizationScorer.h"

#include "fit/RunModel.h"
#include "fit/SearchGeometry.h"
#include "fit/fast/DampingIndices.h"
#include "fit/fast/MatchKernel.h"

#include <vector>

namespace velmora {

namespace {
constexpr int kDampingSteps = kPolarizationDampingSteps;
constexpr int kWindowWidth = kPolarizationWindow.width;
// The widest window: accepted .. accepted + width.
constexpr int kWindowSlots = kPolarizationWindow.slots();
static_assert(kWindowWidth <= kWidestFirstReach,
              "the engine's radius table covers the first window");
} // namespace

FastPolarizationScorer::FastPolarizationScorer(const RunParameters& p, WorkerPool& pool,
                                               const PolarizationGrid& grid)
    : p_(p), grid_(grid), pool_(pool),
      radii_(grid.rmin, grid.dR, 0, std::max(grid.n, kWindowWidth)),
      dampings_(grid.g0, grid.dG, 1, kDampingSteps), dampingCount_(dampings_.distinctCount()),
      ring_(kWindowSlots, dampingCount_) {}

void FastPolarizationScorer::beginTimePoint(double measuredRatio, const SearchWindow& window) {
    measuredRatio_ = measuredRatio;
    lo_ = window.lo;
    width_ = window.size();
    fresh_.assign(width_, 0);
    bool anyFresh = false;
    for (int r = window.lo; r <= window.hi; ++r) {
        fresh_[r - lo_] = !radii_.faulted(r) && ring_.claim(r);
        anyFresh = anyFresh || fresh_[r - lo_];
    }
    value_.resize(static_cast<std::size_t>(width_) * dampingCount_);
    fault_.resize(value_.size());
    if (anyFresh && indices_.empty() && usesVacuumSphere(p_)) {
        indices_.resize(dampingCount_);
        dampingIndices(dampings_, grid_.lambda, grid_.wp, p_.W0, indices_);
    }
    pool_.run(width_, anyFresh, [&](int task) { scoreRadius(lo_ + task, fresh_[task] != 0); });
}

void FastPolarizationScorer::scoreRadius(int radiusIndex, bool fresh) {
    if (radii_.faulted(radiusIndex)) {
        return; // radius() faults before a pair is scored
    }
    double* iv = ring_.iv(radiusIndex);
    double* ih = ring_.ih(radiusIndex);
    FpFault* faults = ring_.faults(radiusIndex);
    const double radius = radii_.point(radiusIndex).value;
    if (fresh) {
        std::vector<ModelParams> params;
        params.reserve(dampingCount_);
        for (int d = 0; d < dampingCount_; ++d) {
            const double damping = dampings_.point(dampings_.firstIndexOf(d)).value;
            params.push_back({grid_.lambda, radius, damping, grid_.wp, p_.W0});
        }
        std::vector<ModelValue> models(params.size());
        if (usesVacuumSphere(p_)) {
            modelIntensitiesOfOneSize(params, indices_, models);
        } else {
            for (std::size_t d = 0; d < params.size(); ++d) {
                models[d] =
                    runModel(p_, grid_.lambda, radius, params[d].gam, grid_.wp, grid_.sigma);
            }
        }
        for (int d = 0; d < dampingCount_; ++d) {
            const GridPoint& damping = dampings_.point(dampings_.firstIndexOf(d));
            // A faulted damping faults before its model is evaluated.
            const ModelValue m =
                damping.fault != FpFault::None ? ModelValue{0.0, 0.0, damping.fault} : models[d];
            iv[d] = m.iv;
            ih[d] = m.ih;
            faults[d] = m.fault;
        }
    }
    const std::size_t first = static_cast<std::size_t>(radiusIndex - lo_) * dampingCount_;
    mismatchCandidates(measuredRatio_, iv, ih, faults, dampingCount_,
                       {value_.data() + first, fault_.data() + first});
}

} // namespace velmora
