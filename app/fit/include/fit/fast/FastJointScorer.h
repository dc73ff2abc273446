// SPDX-License-Identifier: GPL-3.0-or-later
// The fast engine's scorer of the joint search of mode "G, R (I)". When a
// time point begins, it scores every candidate of every row (plasma
// energies x dampings x window radii) at once, in parallel, from a table of
// model values that holds each distinct (radius, damping, plasma energy) of
// the window's radii once: a radius's values are computed when the window
// first reaches it and dropped when the window has moved past it. Repeated
// grid values (the 21 equal plasma energies of a single-value range) share
// one entry, so a repeated row costs only its lookups. The refractive index
// of each (wavelength, damping, plasma energy) is computed once per run, and
// the scattering matrix's steps that depend on the size alone once per
// (radius, wavelength, plasma energy). Scoring has no other effect, so rows
// the search never reaches (after a fault or a stop) are scored for nothing
// but change nothing. While a row is scored, each radius also finds its best
// damping, so that the search can take a row's winner without reading every
// candidate.
#pragma once

#include "fit/IntensityModel.h"
#include "fit/RunState.h"
#include "fit/Scorers.h"
#include "fit/fast/GridTable.h"
#include "fit/fast/ModelRing.h"
#include "fit/fast/WorkerPool.h"

#include <vector>

namespace velmora {

// The candidate of a row that the joint search, taking the row candidate by
// candidate, would meet first among those of the lowest non-agreement
// factor. `faultFree` is false when a candidate of the row, its damping or
// its radius faults: the search must then meet the fault where it lies. vx
// is +infinity when no candidate has a comparable factor.
struct RowBest {
    bool faultFree;
    int gamIndex;
    int radiusIndex;
    double mean;
    double vx;
};

class FastJointScorer {
public:
    FastJointScorer(const RunParameters& p, WorkerPool& pool, const GridTable& radii, double dWp,
                    double dGam, double sigma);

    // Scores every candidate of the time point, all rows at once on every
    // core.
    void beginTimePoint(const Measured& measured, const SearchWindow& window);

    // The plasma energy of row i.
    double plasmaEnergy(int i) const { return wp_.at(i); }
    // True when row i's plasma energy is that of an earlier row (the rows
    // of a single-value range): its candidates repeat that row's.
    bool repeatsEarlierRow(int i) const { return wp_.firstIndexOf(wp_.distinctOf(i)) != i; }
    double damping(int j) const { return gam_.at(j); }
    double radius(int k) const { return radii_.at(k); }
    // The winner of row i.
    RowBest rowBest(int i) const;
    CandidateScore score(const JointCandidate& c) const {
        const std::size_t e =
            entry(wp_.distinctOf(c.wpIndex), c.radiusIndex, gam_.distinctOf(c.gamIndex));
        if (fault_[e] != FpFault::None) {
            throwFpFault(fault_[e]);
        }
        return {mean_[e], vx_[e]};
    }

private:
    std::size_t entry(int wp, int radiusIndex, int gam) const {
        return (static_cast<std::size_t>(wp) * width_ + (radiusIndex - lo_)) * gamCount_ + gam;
    }
    // The refractive index of every (distinct plasma energy, wavelength,
    // distinct damping), computed once per run when the first models are.
    void computeIndices();
    // The models (when the radius is new to the table) and the scores of
    // one distinct plasma energy at one radius, for every distinct damping.
    void scoreRadius(int wp, int radiusIndex, bool fresh);
    // The first damping of the lowest factor at one radius of a row, or
    // the column's fault.
    void findColumnBest(int wp, int radiusIndex);

    struct ColumnBest {
        bool faultFree;
        int gamIndex;
        double vx;
    };

    const RunParameters& p_;
    WorkerPool& pool_;
    const GridTable& radii_;
    double sigma_;
    GridTable wp_;
    GridTable gam_;
    int wpCount_;
    int gamCount_;
    ModelRing ring_;
    std::vector<RefractiveIndex> indices_;
    Measured measured_{};
    int lo_ = 0;
    int width_ = 0;
    bool anyFresh_ = false;
    std::vector<char> fresh_;
    // A task of the scoring batch, for one distinct plasma energy: the
    // models and scores of one radius new to the window, or the scores of
    // every radius whose models are held.
    struct RowTask {
        int wp;
        int radiusIndex; // the new radius; unused for the held ones
        bool heldRadii;
    };
    std::vector<RowTask> tasks_;
    std::vector<double> mean_;
    std::vector<double> vx_;
    std::vector<FpFault> fault_;
    std::vector<ColumnBest> columnBest_; // per distinct plasma energy and radius
    bool anyDampingFaulted_ = false;
};

} // namespace velmora
