// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/FastRadiusScorer.h"

#include "fit/fast/MatchKernel.h"

#include <numeric>

namespace velmora {

FastModelSource::FastModelSource(const RunParameters& p, WorkerPool& pool, const GridTable& radii,
                                 RadiusModelCache& models, double gam, double wp, double sigma)
    : radii_(radii), models_(models), gam_(gam), wp_(wp), sigma_(sigma) {
    std::vector<int> rows(std::max(p.N, 0));
    std::iota(rows.begin(), rows.end(), 0);
    models.ensure(p, pool, radii, rows, gam, wp, sigma);
}

FastRadiusScorer::FastRadiusScorer(const RunParameters& p, WorkerPool& pool, const GridTable& radii,
                                   RadiusModelCache& models, double wp, double sigma)
    : p_(p), pool_(pool), radii_(radii), models_(models), wp_(wp), sigma_(sigma) {}

void FastRadiusScorer::beginTimePoint(const Measured& measured, const SearchWindow& window,
                                      double gam) {
    lo_ = window.lo;
    const int count = window.size();
    indices_.resize(count);
    std::iota(indices_.begin(), indices_.end(), window.lo);
    models_.ensure(p_, pool_, radii_, indices_, gam, wp_, sigma_);
    for (int k = 0; k < kWavelengths; ++k) {
        iv_[k].assign(count, 0.0);
        ih_[k].assign(count, 0.0);
        modelFault_[k].assign(count, FpFault::None);
    }
    for (int c = 0; c < count; ++c) {
        if (radii_.faulted(indices_[c])) {
            continue; // radius() faults before the candidate is scored
        }
        const RadiusModelCache::Values& values = models_.at(indices_[c], gam, wp_, sigma_);
        for (int k = 0; k < kWavelengths; ++k) {
            iv_[k][c] = values[k].iv;
            ih_[k][c] = values[k].ih;
            modelFault_[k][c] = values[k].fault;
        }
    }
    mean_.resize(count);
    vx_.resize(count);
    fault_.resize(count);
    ModelColumns columns{};
    for (int k = 0; k < kWavelengths; ++k) {
        columns.iv[k] = iv_[k].data();
        columns.ih[k] = ih_[k].data();
        columns.fault[k] = modelFault_[k].data();
    }
    matchCandidates(measured, columns, count, {mean_.data(), vx_.data(), fault_.data()});
}

} // namespace velmora
