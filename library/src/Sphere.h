// The homogeneous sphere's building blocks, shared by the sphere, coated
// sphere and near-field exports. Every array argument here must hold the
// orders the function writes; the callers size their OrderTables for it.
#pragma once

#include "Cx.h"
#include "OrderTable.h"

#include <cstdint>

namespace quellis {

// psi_n(z), chi_n(z) and xi_n(z) = psi_n - i*chi_n for n = 0..max(n,1), by
// upward recurrence from the closed forms of orders 0 and 1.
void riccatiBessel(Cx z, long n, Cx* psi, Cx* chi, Cx* xi);

// The start order of the downward recurrence of D_n(m*x):
// NN = max(N(Re x), round(|m*x|)) + 15.
int32_t logDerivativeStart(Cx x, Cx m);

// The same from the term count N of x and the argument rho = m*x.
int32_t logDerivativeStart(int32_t terms, Cx rho);

// D_n(rho) = psi_n'(rho)/psi_n(rho) for n = 0..nn, by downward recurrence
// from an accurate value at order nn.
void logDerivative(Cx rho, long nn, Cx* d);

// The same recurrence from order nn, storing only orders
// 0..min(nn, highestStored) (none when highestStored < 0).
void logDerivative(Cx rho, long nn, long highestStored, Cx* d);

// Mie coefficients a_n, b_n of a sphere of size x and index m for
// n = 1..n (n = termCount(Re x)); elements 0 are not written.
void sphereCoefficients(Cx x, Cx m, long n, Cx* a, Cx* b);

// pi_n(cos theta) for n = 0..max(n,1) and tau_n for n = 1..max(n,1).
void angularFunctions(double theta, long n, Cx* pi, Cx* tau);

struct Amplitudes {
    Cx s1;
    Cx s2;
};

// S1 = sum c_n (a_n pi_n + b_n tau_n), S2 = sum c_n (a_n tau_n + b_n pi_n),
// c_n = (2n+1)/(n(n+1)), for n = 1..n.
Amplitudes amplitudeSums(long n, const Cx* a, const Cx* b, const Cx* pi, const Cx* tau);

struct ScatteringElements {
    Cx s11;
    Cx s12;
    Cx s33;
    Cx s34;
};

// S11, S12, S33 and S34 from the two amplitudes.
ScatteringElements scatteringElements(Amplitudes s);

struct Efficiencies {
    double qsca;
    double qext;
    double qback;
};

// Qsca, Qext and Qback of the coefficients a_n, b_n (n = 1..n) for the
// outer size parameter `size` (normalisation 2/|size|^2).
Efficiencies efficiencies(Cx size, long n, const Cx* a, const Cx* b);

} // namespace quellis
