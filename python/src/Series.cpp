// SPDX-License-Identifier: MIT
#include "Series.h"

#include <algorithm>
#include <cmath>

namespace quellis_python {

int32_t termCountGuess(double x) {
    return static_cast<int32_t>(std::nearbyint(x + 4.0 * std::cbrt(x) + 2.0));
}

int32_t sphereCoefficients(double x, Complex m, std::vector<TComplex>& a,
                           std::vector<TComplex>& b) {
    const TComplex size{x, 0.0};
    const TComplex index = toLibrary(m);
    int32_t capacity = std::max<int32_t>(termCountGuess(x), 1);
    for (;;) {
        a.resize(static_cast<std::size_t>(capacity) + 1);
        b.resize(static_cast<std::size_t>(capacity) + 1);
        int32_t count = 0;
        ScattKoef(&size, &index, &count, a.data(), capacity, b.data(), capacity);
        if (count <= capacity) {
            return count;
        }
        capacity = count;
    }
}

void angularFunctions(double x, double theta, int32_t orders, std::vector<TComplex>& pi,
                      std::vector<TComplex>& tau) {
    const auto length = static_cast<std::size_t>(std::max<int32_t>(orders, 1)) + 1;
    pi.resize(length);
    tau.resize(length);
    const TComplex size{x, 0.0};
    const auto high = static_cast<int32_t>(length - 1);
    AnglFun(&size, pi.data(), high, theta, tau.data(), high);
}

void riccatiBessel(Complex z, int32_t orders, std::vector<TComplex>& psi,
                   std::vector<TComplex>& xi) {
    thread_local std::vector<TComplex> chi;
    const auto length = static_cast<std::size_t>(std::max<int32_t>(orders, 1)) + 1;
    psi.resize(length);
    chi.resize(length);
    xi.resize(length);
    const TComplex argument = toLibrary(z);
    const TComplex unused{1.0, 0.0};
    const auto high = static_cast<int32_t>(length - 1);
    CoatBessel(&argument, &unused, &orders, psi.data(), high, chi.data(), high, xi.data(), high);
}

} // namespace quellis_python
