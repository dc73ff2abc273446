// SPDX-License-Identifier: GPL-3.0-or-later
// The continuous refinement of a grid search's winner: a least-squares fit
// of the free parameters by Levenberg-Marquardt (Eigen's), started at the
// winner, with each parameter's standard error from the Jacobian at the
// solution scaled by the residual.
#pragma once

#include <functional>
#include <limits>
#include <span>
#include <vector>

namespace velmora {

struct FreeParameter {
    double start; // the grid's winner
    double lo;    // the grid's range: a refined value outside it is flagged
    double hi;
    double scale;          // the parameter's typical size, above 0: the solver's unit
                           // and the finite-difference step's (kDifferenceStep * scale)
    bool signFree = false; // the residuals depend on |value| only (the width
                           // of a spread): the magnitude is reported
    // Where the model is not evaluated: a step beyond these counts as a
    // fault, so the solver steps back instead of wandering off to values
    // where the model is meaningless or costly (huge spheres).
    double floor = -std::numeric_limits<double>::infinity();
    double ceiling = std::numeric_limits<double>::infinity();
};

constexpr double kDifferenceStep = 1e-6;

// Writes the residuals at the parameters p into r; false when the model
// faults there. Must be a pure function of p.
using ResidualFunction = std::function<bool(std::span<const double> p, std::span<double> r)>;

// Residuals that are functions of fewer independent measured values than
// there are residuals (the polarisation ratios are functions of the same
// intensities that the intensity residuals compare): near the solution
// r = A e, with e `independent` noises of one spread and A the
// residualCount x independent map, row by row. Without a map the residuals
// are themselves the independent noises.
struct ResidualNoise {
    int independent = 0;
    std::vector<double> map;
};

struct Refinement {
    std::vector<double> values;
    // sqrt(diag((J^T J)^-1) * chi2 / (N - P)) with the Jacobian J at the
    // solution; +inf for all when J^T J is singular (a parameter the
    // residuals do not determine), NaN when N <= P or nothing converged.
    // With a noise map A of M independent noises: the square roots of the
    // diagonal of s^2 (J^T J)^-1 J^T A A^T J (J^T J)^-1, s^2 = |e|^2 / (M - P)
    // with e the least-squares solution of A e = r.
    std::vector<double> standardErrors;
    double chi2 = 0.0;        // the sum of squared residuals at the solution; NaN if none
    double chi2Reduced = 0.0; // chi2 / (N - P), or s^2 with a noise map; NaN when N <= P
                              // (M <= P) or none
    bool converged = false;   // the solver met its tolerances
    bool insideRanges = true; // every value within its [lo, hi]
    int evaluations = 0;      // residual evaluations, the Jacobians' included
};

// Refines from the starts. N = residualCount residuals, P = parameters.size()
// unknowns. Deterministic: the same function and starts give the same bits.
// A refinement that does not converge (a scale is not above 0, the start
// faults, the solver runs out of evaluations, or the Jacobian cannot be
// formed) returns the starts, not converged.
Refinement refine(const ResidualFunction& residuals, int residualCount,
                  std::span<const FreeParameter> parameters, const ResidualNoise& noise = {});

} // namespace velmora
