// SPDX-License-Identifier: MIT
// Homogeneous sphere: efficiencies, the quantities of the same series,
// amplitudes, scattering matrix and the coefficients themselves.
#include "Bindings.h"
#include "ElementLoop.h"
#include "Series.h"
#include "SphereQuantities.h"

#include <algorithm>

namespace quellis_python {
namespace {

using Sphere = std::array<py::array, 2>;
using SphereAtAngle = std::array<py::array, 3>;
constexpr InputKinds<2> kSphere{'f', 'c'};
constexpr InputKinds<3> kSphereAtAngle{'f', 'c', 'f'};

py::tuple efficiencies(py::array x, py::array m) {
    return elementwise<double, 3>(Sphere{x, m}, kSphere,
                                  [](const ElementAt<2>& at) {
                                      const TComplex size{realAt(at[0]), 0.0};
                                      const TComplex index = toLibrary(complexAt(at[1]));
                                      double qsca, qext, qback;
                                      CrossSection(&size, &index, &qsca, &qext, &qback);
                                      return std::array<double, 3>{qext, qsca, qback};
                                  })
        .asTuple();
}

py::tuple quantities(py::array x, py::array m) {
    return elementwise<double, 6>(
               Sphere{x, m}, kSphere,
               [](const ElementAt<2>& at) {
                   const SphereQuantities q = sphereQuantities(realAt(at[0]), complexAt(at[1]));
                   return std::array<double, 6>{q.qext, q.qsca, q.qabs, q.qback, q.qpr, q.g};
               })
        .asTuple();
}

py::tuple amplitudes(py::array x, py::array m, py::array theta) {
    return elementwise<Complex, 2>(
               SphereAtAngle{x, m, theta}, kSphereAtAngle,
               [](const ElementAt<3>& at) {
                   const TComplex size{realAt(at[0]), 0.0};
                   const TComplex index = toLibrary(complexAt(at[1]));
                   TComplex s1, s2;
                   AmplMatrix(&size, &index, &s1, realAt(at[2]), &s2);
                   return std::array<Complex, 2>{fromLibrary(s1), fromLibrary(s2)};
               })
        .asTuple();
}

py::tuple scatteringMatrix(py::array x, py::array m, py::array theta) {
    return elementwise<double, 4>(SphereAtAngle{x, m, theta}, kSphereAtAngle,
                                  [](const ElementAt<3>& at) {
                                      const TComplex size{realAt(at[0]), 0.0};
                                      const TComplex index = toLibrary(complexAt(at[1]));
                                      TComplex s11, s12, s33, s34;
                                      ScatMatrix(&size, &index, &s11, realAt(at[2]), &s12, &s33,
                                                 &s34);
                                      return std::array<double, 4>{s11.Re, s12.Re, s33.Re, s34.Re};
                                  })
        .asTuple();
}

// a_n and b_n of every element of the flat arrays x and m, as two arrays of
// (elements, longest N), shorter series padded with zeros.
py::tuple coefficients(py::array_t<double, py::array::c_style> x,
                       py::array_t<Complex, py::array::c_style> m) {
    const py::ssize_t count = x.size();
    std::vector<std::vector<TComplex>> a(static_cast<std::size_t>(count));
    std::vector<std::vector<TComplex>> b(a.size());
    std::vector<int32_t> orders(a.size());
    int32_t longest = 0;
    for (py::ssize_t i = 0; i < count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        orders[k] = sphereCoefficients(x.data()[i], m.data()[i], a[k], b[k]);
        longest = std::max(longest, orders[k]);
    }
    py::array_t<Complex> aOut({count, static_cast<py::ssize_t>(longest)});
    py::array_t<Complex> bOut({count, static_cast<py::ssize_t>(longest)});
    Complex* aData = aOut.mutable_data();
    Complex* bData = bOut.mutable_data();
    for (py::ssize_t i = 0; i < count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        for (int32_t n = 1; n <= longest; ++n) {
            const py::ssize_t at = i * longest + (n - 1);
            aData[at] = n <= orders[k] ? fromLibrary(a[k][n]) : Complex{};
            bData[at] = n <= orders[k] ? fromLibrary(b[k][n]) : Complex{};
        }
    }
    return py::make_tuple(aOut, bOut);
}

} // namespace

void registerSphere(py::module_& module) {
    module.def("efficiencies", &efficiencies, "Qext, Qsca, Qback (CrossSection)");
    module.def("quantities", &quantities, "Qext, Qsca, Qabs, Qback, Qpr, g");
    module.def("amplitudes", &amplitudes, "S1, S2 (AmplMatrix)");
    module.def("scattering_matrix", &scatteringMatrix, "S11, S12, S33, S34 (ScatMatrix)");
    module.def("coefficients", &coefficients, "a_n, b_n (ScattKoef) of flat inputs");
}

} // namespace quellis_python
