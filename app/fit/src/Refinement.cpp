// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/Refinement.h"

#include <Eigen/Dense>
#include <unsupported/Eigen/LevenbergMarquardt>

#include <cmath>
#include <limits>
#include <optional>

namespace velmora {

namespace {
using Vector = Eigen::VectorXd;
using Matrix = Eigen::MatrixXd;

constexpr double kTolerance = 1e-10; // relative, of the sum of squares and of the step
constexpr int kEvaluationsPerParameter = 200;
// What a faulting evaluation counts as: a residual so large that the solver
// rejects the step that led there.
constexpr double kFaultResidual = 1e150;

// The residuals in the solver's units u = p / scale, counting evaluations.
class ScaledResiduals : public Eigen::DenseFunctor<double> {
public:
    ScaledResiduals(const ResidualFunction& residuals, int count,
                    std::span<const FreeParameter> parameters)
        : Eigen::DenseFunctor<double>(static_cast<int>(parameters.size()), count),
          residuals_(residuals), parameters_(parameters), p_(parameters.size()) {}

    // False when u lies beyond a parameter's floor or ceiling, or the
    // residuals fault there or are not finite.
    bool evaluate(const Vector& u, Vector& r) {
        ++evaluations_;
        bool allowed = true;
        for (std::size_t i = 0; i < parameters_.size(); ++i) {
            p_[i] = u[static_cast<Eigen::Index>(i)] * parameters_[i].scale;
            allowed = allowed && p_[i] >= parameters_[i].floor && p_[i] <= parameters_[i].ceiling;
        }
        r.resize(values());
        return allowed &&
               residuals_(p_, std::span<double>(r.data(), static_cast<std::size_t>(r.size()))) &&
               r.allFinite();
    }

    int operator()(const Vector& u, Vector& r) {
        if (!evaluate(u, r)) {
            r.setConstant(kFaultResidual);
        }
        return 0;
    }

    // Central differences, one-sided next to a fault; -1 (stop) when both
    // sides fault.
    int df(const Vector& u, Matrix& jacobian) {
        jacobian.resize(values(), inputs());
        Vector centre(values());
        Vector plus(values());
        Vector minus(values());
        const bool atCentre = evaluate(u, centre);
        for (int j = 0; j < inputs(); ++j) {
            Vector shifted = u;
            shifted[j] = u[j] + kDifferenceStep;
            const bool up = evaluate(shifted, plus);
            shifted[j] = u[j] - kDifferenceStep;
            const bool down = evaluate(shifted, minus);
            if (up && down) {
                jacobian.col(j) = (plus - minus) / (2.0 * kDifferenceStep);
            } else if (up && atCentre) {
                jacobian.col(j) = (plus - centre) / kDifferenceStep;
            } else if (down && atCentre) {
                jacobian.col(j) = (centre - minus) / kDifferenceStep;
            } else {
                return -1;
            }
        }
        return 0;
    }

    int evaluations() const { return evaluations_; }

private:
    const ResidualFunction& residuals_;
    std::span<const FreeParameter> parameters_;
    std::vector<double> p_;
    int evaluations_ = 0;
};

bool solverConverged(Eigen::LevenbergMarquardtSpace::Status status) {
    using namespace Eigen::LevenbergMarquardtSpace;
    switch (status) {
    case RelativeReductionTooSmall:
    case RelativeErrorTooSmall:
    case RelativeErrorAndReductionTooSmall:
    case CosinusTooSmall:
    // No further reduction possible at the working precision: at the minimum.
    case FtolTooSmall:
    case XtolTooSmall:
    case GtolTooSmall:
        return true;
    default:
        return false;
    }
}

// The covariance of the solver's units u: (J^T J)^-1 * chi2Reduced, or
// with a noise map A, (J^T J)^-1 J^T A A^T J (J^T J)^-1 * chi2Reduced.
// Nothing when J^T J is singular.
std::optional<Matrix> covariance(const Matrix& jacobian, double chi2Reduced,
                                 const std::optional<Matrix>& noise) {
    const Eigen::ColPivHouseholderQR<Matrix> qr(jacobian);
    if (qr.rank() < jacobian.cols()) {
        return std::nullopt;
    }
    const Matrix normal = jacobian.transpose() * jacobian;
    const Matrix inverse = normal.ldlt().solve(Matrix::Identity(normal.rows(), normal.cols()));
    if (!noise) {
        return inverse * chi2Reduced;
    }
    const Matrix spread = jacobian.transpose() * *noise;
    return inverse * (spread * spread.transpose()) * inverse * chi2Reduced;
}

// sqrt of the covariance's diagonal in the parameters' own units; +inf for
// all when the covariance cannot be formed.
std::vector<double> standardErrors(const Matrix& jacobian, double chi2Reduced,
                                   const std::optional<Matrix>& noise,
                                   std::span<const FreeParameter> parameters) {
    const std::size_t count = parameters.size();
    const std::optional<Matrix> c = covariance(jacobian, chi2Reduced, noise);
    if (!c) {
        return std::vector<double>(count, std::numeric_limits<double>::infinity());
    }
    std::vector<double> errors(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto k = static_cast<Eigen::Index>(i);
        errors[i] = parameters[i].scale * std::sqrt((*c)(k, k));
    }
    return errors;
}

// The noise map as a matrix; nothing without one.
std::optional<Matrix> noiseMatrix(const ResidualNoise& noise, int residualCount) {
    if (noise.independent <= 0) {
        return std::nullopt;
    }
    Matrix map(residualCount, noise.independent);
    for (int i = 0; i < residualCount; ++i) {
        for (int j = 0; j < noise.independent; ++j) {
            map(i, j) = noise.map[static_cast<std::size_t>(i * noise.independent + j)];
        }
    }
    return map;
}

// chi2 over the degrees of freedom: of the residuals themselves, or of the
// independent noises that explain them best; NaN without any.
double reducedChi2(const Vector& r, const std::optional<Matrix>& noise, int parameters) {
    if (!noise) {
        const int dof = static_cast<int>(r.size()) - parameters;
        return dof > 0 ? r.squaredNorm() / dof : std::numeric_limits<double>::quiet_NaN();
    }
    const int dof = static_cast<int>(noise->cols()) - parameters;
    if (dof <= 0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const Vector e = noise->colPivHouseholderQr().solve(r);
    return e.squaredNorm() / dof;
}
} // namespace

Refinement refine(const ResidualFunction& residuals, int residualCount,
                  std::span<const FreeParameter> parameters, const ResidualNoise& noise) {
    const int count = static_cast<int>(parameters.size());
    ScaledResiduals functor(residuals, residualCount, parameters);
    Vector u(count);
    bool scaled = true;
    for (int i = 0; i < count; ++i) {
        const double scale = parameters[i].scale;
        scaled = scaled && scale > 0.0 && std::isfinite(scale);
        u[i] = parameters[i].start / scale;
    }
    Refinement out;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Vector r;
    bool converged = false;
    if (scaled && functor.evaluate(u, r)) {
        Eigen::LevenbergMarquardt<ScaledResiduals> solver(functor);
        solver.setFtol(kTolerance);
        solver.setXtol(kTolerance);
        solver.setGtol(0.0);
        solver.setMaxfev(kEvaluationsPerParameter * (count + 1));
        converged = solverConverged(solver.minimize(u)) && functor.evaluate(u, r);
    }
    out.values.resize(count);
    for (int i = 0; i < count; ++i) {
        const double value = converged ? u[i] * parameters[i].scale : parameters[i].start;
        out.values[i] = parameters[i].signFree ? std::fabs(value) : value;
        out.insideRanges = out.insideRanges && out.values[i] >= parameters[i].lo &&
                           out.values[i] <= parameters[i].hi;
    }
    out.converged = converged;
    out.standardErrors.assign(count, nan);
    out.chi2 = nan;
    out.chi2Reduced = nan;
    if (converged) {
        out.chi2 = r.squaredNorm();
        Matrix jacobian;
        const std::optional<Matrix> map = noiseMatrix(noise, residualCount);
        const double chi2Reduced = reducedChi2(r, map, count);
        if (!std::isnan(chi2Reduced) && functor.df(u, jacobian) == 0) {
            out.chi2Reduced = chi2Reduced;
            out.standardErrors = standardErrors(jacobian, out.chi2Reduced, map, parameters);
        }
    }
    out.evaluations = functor.evaluations();
    return out;
}

} // namespace velmora
