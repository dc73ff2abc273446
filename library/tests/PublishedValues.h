// SPDX-License-Identifier: MIT
// Published values of the homogeneous sphere and their checks, for any way of
// reaching the library's functions: linked directly, or through pointers
// that a program found in the loaded library.
#pragma once

#include "quellis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace published {

struct Sphere {
    double x, mRe, mIm;
    double qext, qsca, qback; // 0 where the table gives no value
    int backDigits;           // the digits of Qback that a double series reproduces
};

// H. Du, Appl. Opt. 43 (2004) 1951, Table 1 (also W. J. Wiscombe, NCAR/TN-140),
// Qext and Qsca to the 7 digits given. Qback is held to fewer where the table
// stems from the small-particle approximation (x = 0.099) or where the sum
// over 10^4 orders leaves fewer exact digits in double precision (x = 10^4);
// the long-double series of ReferenceMie.h agrees with this library there.
inline constexpr Sphere kDuTable[] = {
    {0.099, 0.75, 0, 7.417859e-6, 7.417859e-6, 1.108554e-5, 6},
    {0.101, 0.75, 0, 8.033538e-6, 8.033538e-6, 0, 7},
    {10, 0.75, 0, 2.232265, 2.232265, 0.04658441, 7},
    {1000, 0.75, 0, 1.997908, 1.997908, 0.9391602, 7},
    {100, 1.33, 1e-5, 2.101321, 2.096594, 2.146326, 7},
    {10000, 1.33, 1e-5, 2.004089, 1.723857, 0.03757191, 5},
    {0.055, 1.5, 1, 0.10149104, 1.131687e-5, 1.695493e-5, 7},
    {0.056, 1.5, 1, 0.1033467, 1.216311e-5, 0, 7},
    {100, 1.5, 1, 2.097502, 1.283697, 0.1724214, 7},
    {10000, 1.5, 1, 2.004368, 1.236574, 0.1724138, 7},
    {1, 10, 10, 2.532993, 2.049405, 3.308997, 7},
    {100, 10, 10, 2.071124, 1.836785, 0.8201273, 7},
    {10000, 10, 10, 2.005914, 1.795393, 0.8190044, 6},
};

// The value agrees with the quoted one to the given significant digits.
inline void expectDigits(double actual, double quoted, int digits) {
    if (quoted == 0) {
        return;
    }
    const double unit = std::pow(10.0, std::floor(std::log10(quoted)) - (digits - 1));
    EXPECT_NEAR(actual, quoted, 0.5 * unit);
}

// Du's efficiencies from a function of CrossSection's arguments.
template <typename CrossSectionFn> void expectDuTable(CrossSectionFn crossSection) {
    for (const Sphere& p : kDuTable) {
        const TComplex x{p.x, 0}, m{p.mRe, p.mIm};
        double qsca, qext, qback;
        crossSection(&x, &m, &qsca, &qext, &qback);
        SCOPED_TRACE(testing::Message()
                     << "x = " << p.x << ", m = " << p.mRe << " + " << p.mIm << "i");
        expectDigits(qext, p.qext, 7);
        expectDigits(qsca, p.qsca, 7);
        expectDigits(qback, p.qback, p.backDigits);
    }
}

// Phase-matrix ratios of Bohren and Huffman (1983) for x = 5.213, m = 1.55,
// published to about 1e-3, from a function of ScatMatrix's arguments.
template <typename ScatMatrixFn> void expectBohrenHuffmanPhaseMatrix(ScatMatrixFn scatMatrix) {
    const TComplex x{5.213, 0}, m{1.55, 0};
    TComplex s11, s12, s33, s34;
    scatMatrix(&x, &m, &s11, 0, &s12, &s33, &s34);
    const double forward = s11.Re;
    const struct {
        double degrees, s11, minusS12, s33, s34;
    } rows[] = {{45, 0.0701845, 0.00959953, 0.959825, -0.280434},
                {90, 0.0124601, 0.230462, 0.937497, 0.260742},
                {180, 0.0383189, 0, -1, 0}};
    for (const auto& row : rows) {
        scatMatrix(&x, &m, &s11, row.degrees * std::numbers::pi / 180, &s12, &s33, &s34);
        SCOPED_TRACE(row.degrees);
        EXPECT_NEAR(s11.Re / forward, row.s11, 1e-3 * row.s11);
        EXPECT_NEAR(-s12.Re / s11.Re, row.minusS12, 1e-3);
        EXPECT_NEAR(s33.Re / s11.Re, row.s33, 1e-3);
        EXPECT_NEAR(s34.Re / s11.Re, row.s34, 1e-3);
    }
}

} // namespace published
