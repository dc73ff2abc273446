// SPDX-License-Identifier: GPL-3.0-or-later
// The program's binding to the two quellis exports it uses: PowCom (the
// complex power, for the refractive index) and ScatMatrix (the scattering
// matrix of a homogeneous sphere). Bound when the program loads.
#pragma once

#include "quellis.h"

namespace velmora::dllun {

// A^p, the principal value.
TComplex powCom(const TComplex& a, double p);

struct ScatteringMatrix {
    TComplex s11;
    TComplex s12;
    TComplex s33;
    TComplex s34;
};

// The scattering-matrix elements of a sphere of size parameter x and relative
// refractive index m at the scattering angle theta (radians).
ScatteringMatrix scatMatrix(const TComplex& x, const TComplex& m, double theta);

} // namespace velmora::dllun
