// SPDX-License-Identifier: GPL-3.0-or-later
// The direct engine: every grid value and every candidate computed when the
// fitting loop reaches it, one model evaluation after another, in the
// order the loops meet them. It is the reference the fast engine must match.
#pragma once

#include "fit/PolarizationRatio.h"
#include "fit/RunState.h"
#include "fit/Scorers.h"
#include "fit/Search.h"

namespace velmora {

class DirectEngine {
public:
    // The rows of Model: radius Rmin + i * dR, model values per wavelength.
    class ModelSource {
    public:
        ModelSource(const RunParameters& p, double gam, double wp) : p_(p), gam_(gam), wp_(wp) {}
        double radius(int i) const { return gridValue(p_.Rmin, i, p_.dR); }
        ModelValue model(int k, int, double radius) const {
            return ModelIntensities({p_.Lambda[k], radius, gam_, wp_, p_.W0});
        }

    private:
        const RunParameters& p_;
        double gam_;
        double wp_;
    };

    // The radius search of modes "R" and "G, R (II)".
    class RadiusScorer {
    public:
        RadiusScorer(const RunParameters& p, double wp) : p_(p), wp_(wp) {}
        void beginTimePoint(const Measured& measured, const SearchWindow&, double gam) {
            measured_ = measured;
            gam_ = gam;
        }
        double radius(int j) const { return gridValue(p_.Rmin, j, p_.dR); }
        CandidateScore score(int, double radius) const {
            const MatchValue m =
                scoreCandidate(measured_, p_.Lambda.data(), radius, gam_, wp_, p_.W0);
            return {m.mean, m.vx};
        }

    private:
        const RunParameters& p_;
        double wp_;
        Measured measured_{};
        double gam_ = 0.0;
    };

    // The joint search of mode "G, R (I)".
    class JointScorer {
    public:
        JointScorer(const RunParameters& p, double dWp, double dGam)
            : p_(p), dWp_(dWp), dGam_(dGam) {}
        void beginTimePoint(const Measured& measured, const SearchWindow&) { measured_ = measured; }
        double plasmaEnergy(int i) const { return gridValue(p_.WpMin, i, dWp_); }
        // Every row is searched candidate by candidate.
        bool repeatsEarlierRow(int) const { return false; }
        double damping(int j) const { return gridValue(p_.GamMin, j, dGam_); }
        double radius(int k) const { return gridValue(p_.Rmin, k, p_.dR); }
        CandidateScore score(const JointCandidate& c) const {
            const MatchValue m =
                scoreCandidate(measured_, p_.Lambda.data(), c.radius, c.gam, c.wp, p_.W0);
            return {m.mean, m.vx};
        }

    private:
        const RunParameters& p_;
        double dWp_;
        double dGam_;
        Measured measured_{};
    };

    // The (radius, damping) pairs of FitPolarizationRatio.
    class PolarizationScorer {
    public:
        PolarizationScorer(const RunParameters& p, const PolarizationGrid& grid)
            : w0_(p.W0), grid_(grid) {}
        void beginTimePoint(double measuredRatio, const SearchWindow&) {
            measuredRatio_ = measuredRatio;
        }
        double radius(int r) const { return gridValue(grid_.rmin, r, grid_.dR); }
        double damping(int s) const { return gridValue(grid_.g0, s, grid_.dG); }
        PolarizationMismatch mismatch(const PolarizationCandidate& c) const {
            return polarizationMismatch(
                measuredRatio_,
                ModelIntensities({grid_.lambda, c.radius, c.damping, grid_.wp, w0_}));
        }

    private:
        double w0_;
        PolarizationGrid grid_;
        double measuredRatio_ = 0.0;
    };

    ModelSource modelSource(const RunParameters& p, double gam, double wp) { return {p, gam, wp}; }
    RadiusScorer radiusScorer(const RunParameters& p, double wp) { return {p, wp}; }
    JointScorer jointScorer(const RunParameters& p, double dWp, double dGam) {
        return {p, dWp, dGam};
    }
    PolarizationScorer polarizationScorer(const RunParameters& p, const PolarizationGrid& grid) {
        return {p, grid};
    }
};

} // namespace velmora
