// The homogeneous sphere's building blocks, shared by the sphere, coated
// sphere and near-field exports. The order-by-order steps of the series
// (Riccati-Bessel and angular recurrences, coefficients, sums) are in
// SphereSeries.h. Every array argument here must hold the orders the
// function writes; the callers size their OrderTables for it.
#pragma once

#include "Cx.h"
#include "OrderTable.h"

#include <cstdint>

namespace quellis {

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

struct Amplitudes {
    Cx s1;
    Cx s2;
};

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

} // namespace quellis
