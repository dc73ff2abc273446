// Tables of the Mie coefficients a_n and b_n of a homogeneous sphere.
#include "SphereSeries.h"

namespace quellis {

void sphereCoefficients(Cx x, Cx m, long n, Cx* a, Cx* b) {
    forEachMieCoefficient(x, m, n, [&](long k, MieCoefficient c) {
        a[k] = c.a;
        b[k] = c.b;
    });
}

} // namespace quellis
