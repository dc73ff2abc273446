// SPDX-License-Identifier: MIT
// The field near a sphere: the library's near-field exports as they are,
// and the physical scattered, total and internal fields.
#include "Bindings.h"
#include "ElementLoop.h"
#include "NearField.h"
#include "Series.h"

namespace quellis_python {
namespace {

using Point = std::array<py::array, 4>;
using PointAtAzimuth = std::array<py::array, 5>;
constexpr InputKinds<4> kPoint{'f', 'c', 'f', 'f'};
constexpr InputKinds<5> kPointAtAzimuth{'f', 'c', 'f', 'f', 'f'};

// Which field: the physical scattered one, the total one, or the scattered
// one as the library's NearFields and NearPointing weight it.
enum class Convention { Scattered = 0, Total = 1, Export = 2 };

// Size, distance and index of one point, as the exports take them.
struct ExportPoint {
    TComplex x, rho, m;
    double theta;

    explicit ExportPoint(const ElementAt<4>& at)
        : x{realAt(at[0]), 0.0}, rho{realAt(at[2]), 0.0}, m(toLibrary(complexAt(at[1]))),
          theta(realAt(at[3])) {}
};

FieldComponents exportFields(const ElementAt<4>& at) {
    const ExportPoint p(at);
    TComplex f[6];
    NearFields(&p.x, &p.rho, &p.m, p.theta, &f[0], &f[1], &f[2], &f[3], &f[4], &f[5]);
    return {fromLibrary(f[0]), fromLibrary(f[1]), fromLibrary(f[2]),
            fromLibrary(f[3]), fromLibrary(f[4]), fromLibrary(f[5])};
}

FieldComponents fieldsOf(const ElementAt<4>& at, Convention convention) {
    if (convention == Convention::Export) {
        return exportFields(at);
    }
    const FieldPart part =
        convention == Convention::Total ? FieldPart::Total : FieldPart::Scattered;
    return sphereField(realAt(at[0]), complexAt(at[1]), realAt(at[2]), realAt(at[3]), part);
}

std::array<Complex, 6> asArray(const FieldComponents& f) {
    return {f.ePhi, f.eTheta, f.eR, f.hPhi, f.hTheta, f.hR};
}

ElementAt<4> pointOf(const ElementAt<5>& at) {
    return {at[0], at[1], at[2], at[3]};
}

py::tuple fields(py::array x, py::array m, py::array rho, py::array theta, int convention) {
    const auto kind = static_cast<Convention>(convention);
    return elementwise<Complex, 6>(
               Point{x, m, rho, theta}, kPoint,
               [kind](const ElementAt<4>& at) { return asArray(fieldsOf(at, kind)); })
        .asTuple();
}

py::tuple fieldsAtPoint(py::array x, py::array m, py::array rho, py::array theta, py::array phi,
                        int convention) {
    const auto kind = static_cast<Convention>(convention);
    return elementwise<Complex, 6>(PointAtAzimuth{x, m, rho, theta, phi}, kPointAtAzimuth,
                                   [kind](const ElementAt<5>& at) {
                                       return asArray(atPoint(fieldsOf(pointOf(at), kind),
                                                              realAt(at[2]), realAt(at[4])));
                                   })
        .asTuple();
}

py::tuple poynting(py::array x, py::array m, py::array rho, py::array theta, py::array phi,
                   int convention) {
    const auto kind = static_cast<Convention>(convention);
    return elementwise<double, 3>(PointAtAzimuth{x, m, rho, theta, phi}, kPointAtAzimuth,
                                  [kind](const ElementAt<5>& at) {
                                      if (kind == Convention::Export) {
                                          const ExportPoint p(pointOf(at));
                                          TComplex s[3];
                                          NearPointing(&p.x, &p.rho, &p.m, p.theta, realAt(at[4]),
                                                       &s[0], &s[1], &s[2]);
                                          return std::array<double, 3>{s[0].Re, s[1].Re, s[2].Re};
                                      }
                                      return poyntingVector(atPoint(fieldsOf(pointOf(at), kind),
                                                                    realAt(at[2]), realAt(at[4])));
                                  })
        .asTuple();
}

py::tuple amplitudes(py::array x, py::array m, py::array rho, py::array theta) {
    return elementwise<Complex, 2>(
               Point{x, m, rho, theta}, kPoint,
               [](const ElementAt<4>& at) {
                   const ExportPoint p(at);
                   TComplex s1, s2;
                   NearAmplMatrix(&p.x, &p.rho, &p.m, p.theta, &s1, &s2);
                   return std::array<Complex, 2>{fromLibrary(s1), fromLibrary(s2)};
               })
        .asTuple();
}

py::tuple scatteringMatrix(py::array x, py::array m, py::array rho, py::array theta) {
    return elementwise<double, 4>(
               Point{x, m, rho, theta}, kPoint,
               [](const ElementAt<4>& at) {
                   const ExportPoint p(at);
                   TComplex s[4];
                   NearScatMatrix(&p.x, &p.rho, &p.m, p.theta, &s[0], &s[1], &s[2], &s[3]);
                   return std::array<double, 4>{s[0].Re, s[1].Re, s[2].Re, s[3].Re};
               })
        .asTuple();
}

py::tuple longitudinal(py::array x, py::array m, py::array rho, py::array theta) {
    return elementwise<double, 1>(Point{x, m, rho, theta}, kPoint,
                                  [](const ElementAt<4>& at) {
                                      const ExportPoint p(at);
                                      TComplex l;
                                      NearLongAmpl(&p.x, &p.rho, &p.m, p.theta, &l);
                                      return std::array<double, 1>{l.Re};
                                  })
        .asTuple();
}

} // namespace

void registerNear(py::module_& module) {
    module.def("near_fields", &fields, "six field components without phi and distance factors");
    module.def("near_fields_at_point", &fieldsAtPoint, "six field components at (rho, theta, phi)");
    module.def("near_poynting", &poynting, "Sphi, Stheta, Sr");
    module.def("near_amplitudes", &amplitudes, "S1, S2 (NearAmplMatrix)");
    module.def("near_scattering_matrix", &scatteringMatrix, "S11, S12, S33, S34 (NearScatMatrix)");
    module.def("near_longitudinal", &longitudinal, "L (NearLongAmpl)");
}

} // namespace quellis_python
