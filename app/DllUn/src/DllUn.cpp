// SPDX-License-Identifier: GPL-3.0-or-later
#include "DllUn/DllUn.h"

namespace velmora::dllun {

TComplex powCom(const TComplex& a, double p) {
    TComplex result{};
    PowCom(&a, &result, p);
    return result;
}

ScatteringMatrix scatMatrix(const TComplex& x, const TComplex& m, double theta) {
    ScatteringMatrix s{};
    ScatMatrix(&x, &m, &s.s11, theta, &s.s12, &s.s33, &s.s34);
    return s;
}

} // namespace velmora::dllun
