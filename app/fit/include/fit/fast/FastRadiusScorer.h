// SPDX-License-Identifier: GPL-3.0-or-later
// The fast engine's scorers on the run's radius grid: the rows of Model and
// the radius search of modes "R" and "G, R (II)". Both read the run's
// RadiusModelCache, which computes each distinct model value once and in
// parallel; the radius search scores a time point's window in one batch.
#pragma once

#include "fit/Scorers.h"
#include "fit/fast/RadiusModelCache.h"

#include <vector>

namespace velmora {

class FastModelSource {
public:
    // Computes rows 1..N of Model (radius indices 0..N - 1) up front.
    FastModelSource(const RunParameters& p, WorkerPool& pool, const GridTable& radii,
                    RadiusModelCache& models, double gam, double wp, double sigma);

    double radius(int i) const { return radii_.at(i); }
    ModelValue model(int k, int i, double) const { return models_.at(i, gam_, wp_, sigma_)[k - 1]; }

private:
    const GridTable& radii_;
    const RadiusModelCache& models_;
    double gam_;
    double wp_;
    double sigma_;
};

class FastRadiusScorer {
public:
    FastRadiusScorer(const RunParameters& p, WorkerPool& pool, const GridTable& radii,
                     RadiusModelCache& models, double wp, double sigma);

    // Scores every candidate of the window with damping gam.
    void beginTimePoint(const Measured& measured, const SearchWindow& window, double gam);

    double radius(int j) const { return radii_.at(j); }
    CandidateScore score(int j, double) const {
        const std::size_t e = static_cast<std::size_t>(j - lo_);
        if (fault_[e] != FpFault::None) {
            throwFpFault(fault_[e]);
        }
        return {mean_[e], vx_[e]};
    }

private:
    const RunParameters& p_;
    WorkerPool& pool_;
    const GridTable& radii_;
    RadiusModelCache& models_;
    double wp_;
    double sigma_;
    int lo_ = 0;
    std::vector<int> indices_;
    std::array<std::vector<double>, kWavelengths> iv_;
    std::array<std::vector<double>, kWavelengths> ih_;
    std::array<std::vector<FpFault>, kWavelengths> modelFault_;
    std::vector<double> mean_;
    std::vector<double> vx_;
    std::vector<FpFault> fault_;
};

} // namespace velmora
