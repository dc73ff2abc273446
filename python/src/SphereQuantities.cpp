// SPDX-License-Identifier: MIT
#include "SphereQuantities.h"

#include "Series.h"

#include <cmath>
#include <vector>

namespace quellis_python {

SphereQuantities sphereQuantities(double x, Complex m) {
    thread_local std::vector<TComplex> aTable, bTable;
    const int32_t orders = sphereCoefficients(x, m, aTable, bTable);
    double extinction = 0.0, scattering = 0.0, asymmetry = 0.0;
    Complex back = 0.0;
    for (int32_t n = 1; n <= orders; ++n) {
        const Complex a = fromLibrary(aTable[n]);
        const Complex b = fromLibrary(bTable[n]);
        const double nn = n;
        const double weight = 2.0 * nn + 1.0;
        extinction += weight * (a + b).real();
        scattering += weight * (std::norm(a) + std::norm(b));
        back += (n % 2 == 0 ? weight : -weight) * (a - b);
        asymmetry += weight / (nn * (nn + 1.0)) * (a * std::conj(b)).real();
        if (n < orders) {
            const Complex aNext = fromLibrary(aTable[n + 1]);
            const Complex bNext = fromLibrary(bTable[n + 1]);
            asymmetry +=
                nn * (nn + 2.0) / (nn + 1.0) * (a * std::conj(aNext) + b * std::conj(bNext)).real();
        }
    }
    const double x2 = x * x;
    SphereQuantities q{};
    q.qext = 2.0 * extinction / x2;
    q.qsca = 2.0 * scattering / x2;
    q.qabs = q.qext - q.qsca;
    q.qback = std::norm(back) / x2;
    const double gTimesQsca = 4.0 * asymmetry / x2;
    // A sphere that scatters nothing (m = 1) has no asymmetry to speak of.
    q.g = q.qsca == 0.0 ? 0.0 : gTimesQsca / q.qsca;
    q.qpr = q.qext - gTimesQsca;
    return q;
}

} // namespace quellis_python
