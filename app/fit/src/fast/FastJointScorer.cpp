// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/FastJointScorer.h"

#include "fit/RunModel.h"
#include "fit/SearchGeometry.h"
#include "fit/fast/DampingIndices.h"
#include "fit/fast/FirstLowest.h"
#include "fit/fast/MatchKernel.h"

#include <limits>
#include <span>
#include <vector>

namespace velmora {

namespace {
constexpr int kPlasmaSteps = kJointPlasmaSteps;
constexpr int kDampingSteps = kJointDampingSteps;
// The widest window of the joint search: accepted .. accepted + width.
constexpr int kWindowSlots = kJointWindow.slots();
static_assert(kWindowSlots == kJointWindow.width + 1 && kJointWindow.first >= 0,
              "the ring holds every index of the widest window");
// A row of fewer candidates than this, with no new radius, is scored on the
// calling thread alone.
constexpr int kSharedCandidates = 4096;
} // namespace

FastJointScorer::FastJointScorer(const RunParameters& p, WorkerPool& pool, const GridTable& radii,
                                 double dWp, double dGam, double sigma)
    : p_(p), pool_(pool), radii_(radii), sigma_(sigma), wp_(p.WpMin, dWp, 0, kPlasmaSteps),
      gam_(p.GamMin, dGam, 0, kDampingSteps), wpCount_(wp_.distinctCount()),
      gamCount_(gam_.distinctCount()), ring_(kWindowSlots, wpCount_ * kWavelengths * gamCount_) {
    for (int j = 0; j <= kDampingSteps; ++j) {
        anyDampingFaulted_ = anyDampingFaulted_ || gam_.faulted(j);
    }
}

void FastJointScorer::beginTimePoint(const Measured& measured, const SearchWindow& window) {
    measured_ = measured;
    lo_ = window.lo;
    width_ = window.size();
    fresh_.assign(width_, 0);
    anyFresh_ = false;
    for (int r = window.lo; r <= window.hi; ++r) {
        fresh_[r - lo_] = !radii_.faulted(r) && ring_.claim(r);
        anyFresh_ = anyFresh_ || fresh_[r - lo_];
    }
    const std::size_t entries = static_cast<std::size_t>(wpCount_) * width_ * gamCount_;
    mean_.resize(entries);
    vx_.resize(entries);
    fault_.resize(entries);
    columnBest_.resize(static_cast<std::size_t>(wpCount_) * width_);
    // A task for each radius whose models are new, one (radius, plasma
    // energy) pair each, and then one per plasma energy for the radii whose
    // models are held: those only score, and fill the wait for the others.
    tasks_.clear();
    for (int wp = 0; wp < wpCount_; ++wp) {
        for (int r = lo_; r <= window.hi; ++r) {
            if (fresh_[r - lo_]) {
                tasks_.push_back({wp, r, false});
            }
        }
    }
    for (int wp = 0; wp < wpCount_; ++wp) {
        tasks_.push_back({wp, 0, true});
    }
    if (anyFresh_ && indices_.empty() && usesVacuumSphere(p_)) {
        computeIndices();
    }
    const bool worthSharing = anyFresh_ || entries >= kSharedCandidates;
    pool_.run(static_cast<int>(tasks_.size()), worthSharing, [&](int n) {
        const RowTask task = tasks_[n];
        if (!task.heldRadii) {
            scoreRadius(task.wp, task.radiusIndex, true);
            findColumnBest(task.wp, task.radiusIndex);
            return;
        }
        for (int r = lo_; r < lo_ + width_; ++r) {
            if (!fresh_[r - lo_]) {
                scoreRadius(task.wp, r, false);
                findColumnBest(task.wp, r);
            }
        }
    });
}

void FastJointScorer::findColumnBest(int wp, int radiusIndex) {
    ColumnBest& best = columnBest_[static_cast<std::size_t>(wp) * width_ + (radiusIndex - lo_)];
    best = {false, -1, std::numeric_limits<double>::infinity()};
    if (radii_.faulted(radiusIndex)) {
        return;
    }
    const std::size_t first = entry(wp, radiusIndex, 0);
    const FpFault* faults = fault_.data() + first;
    // Faults are rare: all bytes are read, in vector lanes, without a branch.
    static_assert(static_cast<unsigned>(FpFault::None) == 0);
    unsigned anyFault = 0;
    for (int g = 0; g < gamCount_; ++g) {
        anyFault |= static_cast<unsigned>(faults[g]);
    }
    if (anyFault != 0) {
        return;
    }
    best.faultFree = true;
    // The first damping of the lowest factor: a repeated damping shares the
    // entry of its first index, which comes before it.
    const int g = firstLowest(vx_.data() + first, gamCount_, best.vx);
    if (g >= 0) {
        best.vx = vx_[first + g];
        best.gamIndex = gam_.firstIndexOf(g);
    }
}

RowBest FastJointScorer::rowBest(int i) const {
    const int wp = wp_.distinctOf(i);
    RowBest best{!anyDampingFaulted_, -1, -1, 0.0, std::numeric_limits<double>::infinity()};
    for (int k = 0; k < width_; ++k) {
        const ColumnBest& column = columnBest_[static_cast<std::size_t>(wp) * width_ + k];
        if (!column.faultFree) {
            best.faultFree = false;
            continue;
        }
        // The search takes dampings outermost: of equal factors, the lower
        // damping index wins, then the lower radius.
        if (column.vx < best.vx || (column.vx == best.vx && column.gamIndex < best.gamIndex)) {
            best.vx = column.vx;
            best.gamIndex = column.gamIndex;
            best.radiusIndex = lo_ + k;
        }
    }
    if (best.radiusIndex >= 0) {
        best.mean = mean_[entry(wp, best.radiusIndex, gam_.distinctOf(best.gamIndex))];
    }
    return best;
}

void FastJointScorer::computeIndices() {
    indices_.resize(static_cast<std::size_t>(wpCount_) * kWavelengths * gamCount_);
    for (int wp = 0; wp < wpCount_; ++wp) {
        const GridPoint& wpPoint = wp_.point(wp_.firstIndexOf(wp));
        if (wpPoint.fault != FpFault::None) {
            continue; // plasmaEnergy() faults before a model is evaluated
        }
        for (int k = 0; k < kWavelengths; ++k) {
            const std::size_t first = (static_cast<std::size_t>(wp) * kWavelengths + k) * gamCount_;
            dampingIndices(gam_, p_.Lambda[k + 1], wpPoint.value, p_.W0,
                           std::span(indices_).subspan(first, gamCount_));
        }
    }
}

void FastJointScorer::scoreRadius(int wp, int radiusIndex, bool fresh) {
    const GridPoint& wpPoint = wp_.point(wp_.firstIndexOf(wp));
    if (radii_.faulted(radiusIndex) || wpPoint.fault != FpFault::None) {
        return; // radius() or plasmaEnergy() faults before a candidate is scored
    }
    const double radius = radii_.point(radiusIndex).value;
    const std::size_t row = static_cast<std::size_t>(wp) * kWavelengths * gamCount_;
    double* iv = ring_.iv(radiusIndex) + row;
    double* ih = ring_.ih(radiusIndex) + row;
    FpFault* faults = ring_.faults(radiusIndex) + row;
    if (fresh) {
        const std::size_t values = static_cast<std::size_t>(kWavelengths) * gamCount_;
        std::vector<ModelParams> params;
        params.reserve(values);
        for (int k = 0; k < kWavelengths; ++k) {
            for (int g = 0; g < gamCount_; ++g) {
                const double gam = gam_.point(gam_.firstIndexOf(g)).value;
                params.push_back({p_.Lambda[k + 1], radius, gam, wpPoint.value, p_.W0});
            }
        }
        std::vector<ModelValue> models(values);
        if (usesVacuumSphere(p_)) {
            const std::span<const RefractiveIndex> indices(&indices_[row], values);
            for (int k = 0; k < kWavelengths; ++k) {
                const std::size_t first = static_cast<std::size_t>(k) * gamCount_;
                modelIntensitiesOfOneSize(std::span(params).subspan(first, gamCount_),
                                          indices.subspan(first, gamCount_),
                                          std::span(models).subspan(first, gamCount_));
            }
        } else {
            for (std::size_t v = 0; v < values; ++v) {
                const ModelParams& m = params[v];
                models[v] = runModel(p_, m.lambda, m.radius, m.gam, m.wp, sigma_);
            }
        }
        for (std::size_t v = 0; v < models.size(); ++v) {
            const GridPoint& gam = gam_.point(gam_.firstIndexOf(static_cast<int>(v) % gamCount_));
            // A faulted damping faults before its model is evaluated.
            const ModelValue m =
                gam.fault != FpFault::None ? ModelValue{0.0, 0.0, gam.fault} : models[v];
            iv[v] = m.iv;
            ih[v] = m.ih;
            faults[v] = m.fault;
        }
    }
    ModelColumns columns{};
    for (int k = 0; k < kWavelengths; ++k) {
        columns.iv[k] = iv + static_cast<std::size_t>(k) * gamCount_;
        columns.ih[k] = ih + static_cast<std::size_t>(k) * gamCount_;
        columns.fault[k] = faults + static_cast<std::size_t>(k) * gamCount_;
    }
    const std::size_t first = entry(wp, radiusIndex, 0);
    matchCandidates(measured_, columns, gamCount_,
                    {mean_.data() + first, vx_.data() + first, fault_.data() + first});
}

} // namespace velmora
