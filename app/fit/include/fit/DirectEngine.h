// SPDX-License-Identifier: GPL-3.0-or-later
// The direct engine: every grid value and every candidate computed when the
// fitting loop reaches it, one model evaluation after another, in the
// order the loops meet them. It is the reference the fast engine must match.
#pragma once

#include "fit/CombinedMatch.h"
#include "fit/PolarizationRatio.h"
#include "fit/RunModel.h"
#include "fit/RunState.h"
#include "fit/Scorers.h"
#include "fit/Search.h"

namespace velmora {

class DirectEngine {
public:
    // The rows of Model: radius Rmin + i * dR, model values per wavelength.
    class ModelSource {
    public:
        ModelSource(const RunParameters& p, double gam, double wp, double sigma)
            : p_(p), gam_(gam), wp_(wp), sigma_(sigma) {}
        double radius(int i) const { return gridValue(p_.Rmin, i, p_.dR); }
        ModelValue model(int k, int, double radius) const {
            return runModel(p_, p_.Lambda[k], radius, gam_, wp_, sigma_);
        }

    private:
        const RunParameters& p_;
        double gam_;
        double wp_;
        double sigma_;
    };

    // The radius search of modes "R" and "G, R (II)".
    class RadiusScorer {
    public:
        RadiusScorer(const RunParameters& p, double wp, double sigma)
            : p_(p), wp_(wp), sigma_(sigma) {}
        void beginTimePoint(const Measured& measured, const SearchWindow&, double gam) {
            measured_ = measured;
            gam_ = gam;
        }
        double radius(int j) const { return gridValue(p_.Rmin, j, p_.dR); }
        CandidateScore score(int, double radius) const {
            const MatchValue m = scoreCandidate(measured_, p_, radius, gam_, wp_, sigma_);
            return {m.mean, m.vx};
        }

    private:
        const RunParameters& p_;
        double wp_;
        double sigma_;
        Measured measured_{};
        double gam_ = 0.0;
    };

    // The joint search of mode "G, R (I)".
    class JointScorer {
    public:
        JointScorer(const RunParameters& p, double dWp, double dGam, double sigma)
            : p_(p), dWp_(dWp), dGam_(dGam), sigma_(sigma) {}
        void beginTimePoint(const Measured& measured, const SearchWindow&) { measured_ = measured; }
        double plasmaEnergy(int i) const { return gridValue(p_.WpMin, i, dWp_); }
        // Every row is searched candidate by candidate.
        bool repeatsEarlierRow(int) const { return false; }
        double damping(int j) const { return gridValue(p_.GamMin, j, dGam_); }
        double radius(int k) const { return gridValue(p_.Rmin, k, p_.dR); }
        CandidateScore score(const JointCandidate& c) const {
            const MatchValue m = scoreCandidate(measured_, p_, c.radius, c.gam, c.wp, sigma_);
            return {m.mean, m.vx};
        }

    private:
        const RunParameters& p_;
        double dWp_;
        double dGam_;
        double sigma_;
        Measured measured_{};
    };

    // The (radius, damping) pairs of FitPolarizationRatio.
    class PolarizationScorer {
    public:
        PolarizationScorer(const RunParameters& p, const PolarizationGrid& grid)
            : p_(p), grid_(grid) {}
        void beginTimePoint(double measuredRatio, const SearchWindow&) {
            measuredRatio_ = measuredRatio;
        }
        double radius(int r) const { return gridValue(grid_.rmin, r, grid_.dR); }
        double damping(int s) const { return gridValue(grid_.g0, s, grid_.dG); }
        PolarizationMismatch mismatch(const PolarizationCandidate& c) const {
            return polarizationMismatch(measuredRatio_, runModel(p_, grid_.lambda, c.radius,
                                                                 c.damping, grid_.wp, grid_.sigma));
        }

    private:
        const RunParameters& p_;
        PolarizationGrid grid_;
        double measuredRatio_ = 0.0;
    };

    // The (radius, damping) pairs of mode "G, R (III)".
    class CombinedScorer {
    public:
        CombinedScorer(const RunParameters& p, const CombinedGrid& grid) : p_(p), grid_(grid) {}
        void beginTimePoint(const Measured& measured,
                            const std::array<double, kWavelengths>& measuredRatios,
                            const SearchWindow&) {
            measured_ = measured;
            measuredRatios_ = measuredRatios;
        }
        double radius(int j) const { return gridValue(p_.Rmin, j, p_.dR); }
        double damping(int g) const { return gridValue(grid_.g0, g, grid_.dG); }
        CombinedScore score(const CombinedCandidate& c) const {
            std::array<ModelValue, kWavelengths> models{};
            for (int k = 0; k < kWavelengths; ++k) {
                models[k] =
                    runModel(p_, p_.Lambda[k + 1], c.radius, c.damping, grid_.wp, grid_.sigma);
                if (models[k].fault != FpFault::None) {
                    break;
                }
            }
            const CombinedMatch m = combinedMatch(measured_, measuredRatios_, models);
            if (m.fault != FpFault::None) {
                throwFpFault(m.fault);
            }
            return {m.mean, m.vx, m.measure};
        }

    private:
        const RunParameters& p_;
        CombinedGrid grid_;
        Measured measured_{};
        std::array<double, kWavelengths> measuredRatios_{};
    };

    ModelSource modelSource(const RunParameters& p, double gam, double wp, double sigma) {
        return {p, gam, wp, sigma};
    }
    RadiusScorer radiusScorer(const RunParameters& p, double wp, double sigma) {
        return {p, wp, sigma};
    }
    JointScorer jointScorer(const RunParameters& p, double dWp, double dGam, double sigma) {
        return {p, dWp, dGam, sigma};
    }
    PolarizationScorer polarizationScorer(const RunParameters& p, const PolarizationGrid& grid) {
        return {p, grid};
    }
    CombinedScorer combinedScorer(const RunParameters& p, const CombinedGrid& grid) {
        return {p, grid};
    }
};

} // namespace velmora
