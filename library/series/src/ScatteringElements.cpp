// SPDX-License-Identifier: MIT
// The scattering-matrix elements of two amplitude functions (Bohren & Huffman
// 1983, eq. 4.77).
#include "quellis/series/SphereSeries.h"

namespace quellis {

ScatteringElements scatteringElements(Amplitudes s) {
    const double s1Squared = s.s1.re * s.s1.re + s.s1.im * s.s1.im;
    const double s2Squared = s.s2.re * s.s2.re + s.s2.im * s.s2.im;
    const Cx p = mul(conj(s.s2), s.s1);
    const Cx q = mul(s.s2, conj(s.s1));
    return {
        real((s.s1.re * s.s1.re + s.s1.im * s.s1.im + s.s2.re * s.s2.re + s.s2.im * s.s2.im) * 0.5),
        real((s2Squared - s1Squared) * 0.5),
        Cx{(p.re + q.re) * 0.5, (p.im + q.im) * 0.5},
        mul(Cx{0.0, 0.5}, p - q),
    };
}

} // namespace quellis
