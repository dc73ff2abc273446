// SPDX-License-Identifier: MIT
// Coated sphere: efficiencies, amplitudes and scattering matrix.
#include "Bindings.h"
#include "ElementLoop.h"
#include "Series.h"

namespace quellis_python {
namespace {

constexpr InputKinds<4> kCoated{'f', 'f', 'c', 'c'};
constexpr InputKinds<5> kCoatedAtAngle{'f', 'f', 'c', 'c', 'f'};

// Core size, outer size, core index and shell index of one element.
template <std::size_t Inputs> struct Layers {
    TComplex x, y, m1, m2;

    explicit Layers(const ElementAt<Inputs>& at)
        : x{realAt(at[0]), 0.0}, y{realAt(at[1]), 0.0}, m1(toLibrary(complexAt(at[2]))),
          m2(toLibrary(complexAt(at[3]))) {}
};

py::tuple efficiencies(py::array x, py::array y, py::array m1, py::array m2) {
    return elementwise<double, 3>(std::array<py::array, 4>{x, y, m1, m2}, kCoated,
                                  [](const ElementAt<4>& at) {
                                      const Layers<4> p(at);
                                      double qsca, qext, qback;
                                      CoatCrossSection(&p.x, &p.y, &p.m1, &p.m2, &qsca, &qext,
                                                       &qback);
                                      return std::array<double, 3>{qext, qsca, qback};
                                  })
        .asTuple();
}

py::tuple amplitudes(py::array x, py::array y, py::array m1, py::array m2, py::array theta) {
    return elementwise<Complex, 2>(
               std::array<py::array, 5>{x, y, m1, m2, theta}, kCoatedAtAngle,
               [](const ElementAt<5>& at) {
                   const Layers<5> p(at);
                   TComplex s1, s2;
                   CoatAmplMatrix(&p.x, &p.y, &p.m1, &p.m2, realAt(at[4]), &s1, &s2);
                   return std::array<Complex, 2>{fromLibrary(s1), fromLibrary(s2)};
               })
        .asTuple();
}

py::tuple scatteringMatrix(py::array x, py::array y, py::array m1, py::array m2, py::array theta) {
    return elementwise<double, 4>(std::array<py::array, 5>{x, y, m1, m2, theta}, kCoatedAtAngle,
                                  [](const ElementAt<5>& at) {
                                      const Layers<5> p(at);
                                      TComplex s11, s12, s33, s34;
                                      CoatScatMatrix(&p.x, &p.y, &p.m1, &p.m2, realAt(at[4]), &s11,
                                                     &s12, &s33, &s34);
                                      return std::array<double, 4>{s11.Re, s12.Re, s33.Re, s34.Re};
                                  })
        .asTuple();
}

} // namespace

void registerCoated(py::module_& module) {
    module.def("coated_efficiencies", &efficiencies, "Qext, Qsca, Qback (CoatCrossSection)");
    module.def("coated_amplitudes", &amplitudes, "S1, S2 (CoatAmplMatrix)");
    module.def("coated_scattering_matrix", &scatteringMatrix,
               "S11, S12, S33, S34 (CoatScatMatrix)");
}

} // namespace quellis_python
