// SPDX-License-Identifier: MIT
// The coated sphere against an independent computation: the four boundary
// conditions of each order solved as a linear system at extended precision,
// with the Riccati-Bessel functions themselves (psi_n from a downward
// recurrence started far above the orders in use, xi_n by upward recurrence)
// and the unknowns scaled so that the system stays balanced however strongly
// core and shell absorb.
#include "quellis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <vector>

namespace {

using Wide = std::complex<long double>;

struct RadialFunctions {
    std::vector<Wide> psi, dPsi, xi, dXi; // each for orders 0..last
};

RadialFunctions radialFunctions(Wide z, int last) {
    const int start = last + static_cast<int>(std::abs(z)) + 200;
    std::vector<Wide> d(start + 1);
    d[start] = 0;
    for (int n = start; n >= 1; --n) {
        const Wide q = static_cast<long double>(n) / z;
        d[n - 1] = q - 1.0L / (d[n] + q);
    }
    RadialFunctions f{std::vector<Wide>(last + 1), std::vector<Wide>(last + 1),
                      std::vector<Wide>(last + 1), std::vector<Wide>(last + 1)};
    const Wide i(0, 1);
    const Wide e = std::exp(i * z);
    f.psi[0] = std::sin(z);
    f.xi[0] = -i * e;
    f.xi[1] = f.xi[0] / z - e;
    for (int n = 1; n <= last; ++n) {
        f.psi[n] = f.psi[n - 1] / (d[n] + static_cast<long double>(n) / z);
        if (n >= 2) {
            f.xi[n] = (2.0L * n - 1) / z * f.xi[n - 1] - f.xi[n - 2];
        }
    }
    for (int n = 0; n <= last; ++n) {
        f.dPsi[n] = d[n] * f.psi[n];
        f.dXi[n] = n == 0 ? e : f.xi[n - 1] - static_cast<long double>(n) / z * f.xi[n];
    }
    return f;
}

using System = std::array<std::array<Wide, 5>, 4>; // 4 equations, 4 unknowns + right side

// Gaussian elimination with partial pivoting; returns the last unknown.
Wide solveForLast(System s) {
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 4; ++row) {
            if (std::abs(s[row][col]) > std::abs(s[pivot][col])) {
                pivot = row;
            }
        }
        std::swap(s[col], s[pivot]);
        for (int row = col + 1; row < 4; ++row) {
            const Wide factor = s[row][col] / s[col][col];
            for (int k = col; k < 5; ++k) {
                s[row][k] -= factor * s[col][k];
            }
        }
    }
    std::array<Wide, 4> unknown{};
    for (int row = 3; row >= 0; --row) {
        Wide sum = s[row][4];
        for (int k = row + 1; k < 4; ++k) {
            sum -= s[row][k] * unknown[k];
        }
        unknown[row] = sum / s[row][row];
    }
    return unknown[3];
}

struct Coated {
    TComplex x, y, m1, m2;
};

Wide wide(TComplex a) {
    return {a.Re, a.Im};
}

struct Coefficients {
    std::vector<Wide> a, b; // orders 1..count at index n
};

// Fields: core c psi(m1 r); shell f psi(m2 r) + g xi(m2 r); outside
// psi(r) - a xi(r). Unknowns scaled as c psi(u), f psi(w), g xi(v), a.
Coefficients reference(const Coated& s, int count) {
    const Wide x = wide(s.x), y = wide(s.y), m1 = wide(s.m1), m2 = wide(s.m2);
    const RadialFunctions fu = radialFunctions(m1 * x, count);
    const RadialFunctions fv = radialFunctions(m2 * x, count);
    const RadialFunctions fw = radialFunctions(m2 * y, count);
    const RadialFunctions fy = radialFunctions(y, count);
    Coefficients c{std::vector<Wide>(count + 1), std::vector<Wide>(count + 1)};
    bool coreNegligible = false;
    for (int n = 1; n <= count; ++n) {
        const Wide du = fu.dPsi[n] / fu.psi[n];
        const Wide dv = fv.dPsi[n] / fv.psi[n];
        const Wide dw = fw.dPsi[n] / fw.psi[n];
        const Wide d3v = fv.dXi[n] / fv.xi[n];
        const Wide d3w = fw.dXi[n] / fw.xi[n];
        const Wide psiRatio = fv.psi[n] / fw.psi[n];
        const Wide xiRatio = fw.xi[n] / fv.xi[n];
        const System forA{{{m1, -m2 * psiRatio, -m2, 0, 0},
                           {du, -dv * psiRatio, -d3v, 0, 0},
                           {0, m2, m2 * xiRatio, fy.xi[n], fy.psi[n]},
                           {0, dw, d3w * xiRatio, fy.dXi[n], fy.dPsi[n]}}};
        const System forB{{{1, -psiRatio, -1, 0, 0},
                           {m1 * du, -m2 * dv * psiRatio, -m2 * d3v, 0, 0},
                           {0, 1, xiRatio, fy.xi[n], fy.psi[n]},
                           {0, m2 * dw, m2 * d3w * xiRatio, fy.dXi[n], fy.dPsi[n]}}};
        const Wide i(0, 1);
        const Wide chiV = i * (fv.xi[n] - fv.psi[n]);
        const Wide dChiV = i * (fv.dXi[n] - fv.dPsi[n]);
        const Wide chiW = i * (fw.xi[n] - fw.psi[n]);
        const Wide dChiW = i * (fw.dXi[n] - fw.dPsi[n]);
        const Wide m = m2 / m1;
        const Wide coreA = fv.psi[n] * (m * du - dv) / (m * du * chiV - dChiV) / fw.psi[n];
        const Wide coreB = fv.psi[n] * (m * dv - du) / (m * dChiV - du * chiV) / fw.psi[n];
        const long double limit = 1e-8L * std::abs(dw);
        coreNegligible =
            coreNegligible || (limit > std::abs(coreA * dChiW) && limit > std::abs(coreB * dChiW) &&
                               1e-8L > std::abs(coreA * chiW) && 1e-8L > std::abs(coreB * chiW));
        if (coreNegligible) {
            c.a[n] = (m2 * fy.dPsi[n] - dw * fy.psi[n]) / (m2 * fy.dXi[n] - dw * fy.xi[n]);
            c.b[n] = (fy.dPsi[n] - m2 * dw * fy.psi[n]) / (fy.dXi[n] - m2 * dw * fy.xi[n]);
        } else {
            c.a[n] = solveForLast(forA);
            c.b[n] = solveForLast(forB);
        }
    }
    return c;
}

int termCountOf(double y) {
    return static_cast<int>(std::nearbyint(y + 4 * std::cbrt(y) + 2));
}

struct Efficiency {
    long double sca, ext, back;
};

Efficiency efficiencyOf(const Coefficients& c, long double y) {
    long double sca = 0, ext = 0;
    Wide back = 0;
    for (std::size_t n = 1; n < c.a.size(); ++n) {
        const long double weight = 2.0L * n + 1;
        sca += weight * (std::norm(c.a[n]) + std::norm(c.b[n]));
        ext += weight * (c.a[n].real() + c.b[n].real());
        back += (n % 2 ? -weight : weight) * (c.a[n] - c.b[n]);
    }
    const long double f = 2 / (y * y);
    return {f * sca, f * ext, f * std::norm(back) / 2};
}

long double relative(long double value, long double expected) {
    return std::fabs(value - expected) / std::fabs(expected);
}

// Cores and shells from glass and water to gold- and silver-like metals,
// outer sizes up to 60, shells from a tenth to nine tenths of the radius
// thick down to a hundredth.
TEST(CoatReference, CoefficientsAndEfficienciesAgreeAcrossTheDomain) {
    const std::vector<double> sizes{0.5, 2, 10, 30, 60};
    const std::vector<double> coreShares{0.1, 0.5, 0.9, 0.99};
    const std::vector<TComplex> indices{{1.5, 0.01}, {0.2, 3}, {0.05, 4},  {2.5, 0},
                                        {1.33, 0},   {1.5, 1}, {1.2, 0.1}, {1, 0}};
    int cases = 0;
    for (double outer : sizes) {
        for (double share : coreShares) {
            for (TComplex m1 : indices) {
                for (TComplex m2 : indices) {
                    const Coated s{{outer * share, 0}, {outer, 0}, m1, m2};
                    SCOPED_TRACE(testing::Message()
                                 << "y=" << outer << " x=" << outer * share << " m1=(" << m1.Re
                                 << "," << m1.Im << ") m2=(" << m2.Re << "," << m2.Im << ")");
                    const int32_t count = termCountOf(outer);
                    std::vector<TComplex> a(count + 1), b(count + 1);
                    CoatScattKoef(&s.x, &s.y, &s.m1, &s.m2, &count, a.data(), count, b.data(),
                                  count);
                    const Coefficients r = reference(s, count);
                    long double largest = 0;
                    for (int n = 1; n <= count; ++n) {
                        largest = std::max({largest, std::abs(r.a[n]), std::abs(r.b[n])});
                    }
                    // The outer formula forms a_n and b_n with an absolute
                    // rounding error near 1e-16; coefficients far below
                    // the largest one are compared at that level.
                    const long double floor = std::max(1e-3L * largest, 1e-6L);
                    for (int n = 1; n <= count; ++n) {
                        ASSERT_LE(std::abs(wide(a[n]) - r.a[n]),
                                  1e-9L * std::max(std::abs(r.a[n]), floor))
                            << "a_" << n;
                        ASSERT_LE(std::abs(wide(b[n]) - r.b[n]),
                                  1e-9L * std::max(std::abs(r.b[n]), floor))
                            << "b_" << n;
                    }
                    double qsca = 0, qext = 0, qback = 0;
                    CoatCrossSection(&s.x, &s.y, &s.m1, &s.m2, &qsca, &qext, &qback);
                    const Efficiency q = efficiencyOf(r, outer);
                    if (q.ext > 1e-12L) {
                        EXPECT_LE(relative(qext, q.ext), 1e-9L);
                        EXPECT_LE(relative(qsca, q.sca), 1e-9L);
                        EXPECT_LE(relative(qback, q.back), 1e-9L);
                    }
                    ++cases;
                }
            }
        }
    }
    EXPECT_EQ(cases, 5 * 4 * 8 * 8);
}

// Every order a caller asks for, far past the term count too: a_n and b_n
// to rounding while they are doubles, and 0 (never NaN) once they fall
// below the smallest one.
TEST(CoatReference, EveryOrderToRoundingAndFarPastTheTermCount) {
    const std::vector<Coated> spheres{{{1, 0}, {2, 0}, {1.5, 0}, {1.2, 0}},
                                      {{0.5, 0}, {1, 0}, {1.5, 0.01}, {1.33, 0}},
                                      {{0.05, 0}, {0.1, 0}, {1.5, 0.1}, {1.2, 0}},
                                      {{5, 0}, {10, 0}, {0.2, 3}, {1.5, 0}}};
    for (const Coated& s : spheres) {
        SCOPED_TRACE(testing::Message() << "x=" << s.x.Re << " y=" << s.y.Re);
        const int32_t count = 300;
        std::vector<TComplex> a(count + 1), b(count + 1);
        CoatScattKoef(&s.x, &s.y, &s.m1, &s.m2, &count, a.data(), count, b.data(), count);
        const Coefficients r = reference(s, count);
        long double largest = 0;
        for (int n = 1; n <= count; ++n) {
            largest = std::max({largest, std::abs(r.a[n]), std::abs(r.b[n])});
        }
        for (int n = 1; n <= count; ++n) {
            for (const auto& [value, expected] :
                 {std::pair{a[n], r.a[n]}, std::pair{b[n], r.b[n]}}) {
                ASSERT_TRUE(std::isfinite(value.Re) && std::isfinite(value.Im)) << n;
                if (std::abs(expected) > 1e-290L) {
                    EXPECT_LE(std::abs(wide(value) - expected),
                              1e-12L * std::max(std::abs(expected), 1e-2L * largest))
                        << n;
                } else {
                    EXPECT_LE(std::abs(wide(value)), 1e-280L) << n;
                }
            }
        }
    }
}

} // namespace
