// SPDX-License-Identifier: MIT
// The complex-arithmetic exports: the branch cases of the phase rule and
// Smith's division, the order of the roots, the inverse functions, and that
// every routine may write its result over its own input.
#include "quellis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

TComplex pow(TComplex a, double p) {
    TComplex r;
    PowCom(&a, &r, p);
    return r;
}

TEST(PowCom, ZeroBaseGivesZeroForEveryExponent) {
    for (const double p : {0.5, 0.0, -1.0}) {
        const TComplex r = pow({0, 0}, p);
        EXPECT_EQ(r.Re, 0.0) << p;
        EXPECT_EQ(r.Im, 0.0) << p;
    }
}

// The platform's cosine, called at run time as the library calls it: the
// compiler folds a constant argument with its own correctly rounded cosine,
// and the x87 cosine that MinGW-w64 calls on 32-bit Windows gives
// 6.1230317691118863e-17 for cos(pi/2), not 6.123233995736766e-17.
double platformCos(double x) {
    volatile double argument = x;
    return std::cos(argument);
}

TEST(PowCom, NegativeRealAxisTakesPlusPiWhateverTheSignOfZero) {
    for (const double im : {0.0, -0.0}) {
        const TComplex r = pow({-4, im}, 0.5);
        EXPECT_DOUBLE_EQ(r.Re, 2 * platformCos(kPi / 2)) << im;
        EXPECT_NE(r.Re, 0.0) << "the polar form leaves a rounding residue";
        EXPECT_NEAR(r.Re, 1.2e-16, 1e-17);
        EXPECT_DOUBLE_EQ(r.Im, 2.0) << im;
    }
}

TEST(PowCom, NegativeImaginaryAxisHasPhaseMinusHalfPi) {
    const TComplex r = pow({0, -9}, 0.5);
    EXPECT_DOUBLE_EQ(r.Re, 3 * std::cos(-kPi / 4));
    EXPECT_DOUBLE_EQ(r.Im, 3 * std::sin(-kPi / 4));
}

TEST(PowCom, ThirdQuadrantPhaseIsBelowMinusHalfPi) {
    const TComplex r = pow({-1, -1}, 1.0);
    EXPECT_NEAR(r.Re, -1.0, 1e-15);
    EXPECT_NEAR(r.Im, -1.0, 1e-15);
}

TEST(DivCom, EqualMagnitudesTakeTheFirstBranch) {
    // With |c| = |d| the first branch forms r = d/c = -1, den = r*d + c.
    const TComplex a{3, 5}, b{2, -2};
    TComplex r;
    DivCom(&a, &b, &r);
    const double ratio = -2.0 / 2.0;
    const double den = ratio * -2.0 + 2.0;
    EXPECT_EQ(r.Re, (5 * ratio + 3) / den);
    EXPECT_EQ(r.Im, (5 - 3 * ratio) / den);
    EXPECT_DOUBLE_EQ(r.Re, -0.5);
    EXPECT_DOUBLE_EQ(r.Im, 2.0);
}

TEST(DivCom, AgreesWithTheQuotientInBothBranches) {
    const std::complex<double> a(1.25, -3.5);
    for (const std::complex<double> b : {std::complex<double>(4, 1), {0.5, -7}, {-3, 2.5}}) {
        TComplex r;
        const TComplex ta{a.real(), a.imag()}, tb{b.real(), b.imag()};
        DivCom(&ta, &tb, &r);
        const std::complex<double> expected = a / b;
        EXPECT_NEAR(r.Re, expected.real(), 1e-15);
        EXPECT_NEAR(r.Im, expected.imag(), 1e-15);
    }
}

TEST(RootCom, ZeroHasOnlyZeroRoots) {
    TComplex r[3] = {{9, 9}, {9, 9}, {9, 9}};
    const TComplex zero{0, 0};
    RootCom(&zero, 3, r, 2);
    for (const TComplex& root : r) {
        EXPECT_EQ(root.Re, 0.0);
        EXPECT_EQ(root.Im, 0.0);
    }
}

TEST(RootCom, NegativeCountWritesNothing) {
    TComplex r[2] = {{9, 9}, {9, 9}};
    const TComplex a{2, 1};
    RootCom(&a, -2, r, 1);
    EXPECT_EQ(r[0].Re, 9.0);
    EXPECT_EQ(r[1].Im, 9.0);
}

TEST(RootCom, FourthRootsOfOneGoCounterclockwiseFromThePrincipal) {
    TComplex r[4];
    const TComplex one{1, 0};
    RootCom(&one, 4, r, 3);
    const double expected[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(r[k].Re, expected[k][0], 1e-15) << k;
        EXPECT_NEAR(r[k].Im, expected[k][1], 1e-15) << k;
    }
}

TEST(RootCom, EveryRootRaisedToTheCountGivesTheArgument) {
    TComplex r[5];
    const TComplex a{-2, 3};
    RootCom(&a, 5, r, 4);
    for (const TComplex& root : r) {
        const std::complex<double> back = std::pow(std::complex<double>(root.Re, root.Im), 5);
        EXPECT_NEAR(back.real(), -2.0, 1e-13);
        EXPECT_NEAR(back.imag(), 3.0, 1e-13);
    }
}

TEST(LogCom, BranchAddsTwoPiPerStep) {
    const TComplex a{-1, 0};
    TComplex r;
    LogCom(&a, 1, &r);
    EXPECT_EQ(r.Re, 0.0);
    EXPECT_DOUBLE_EQ(r.Im, 3 * kPi);
    LogCom(&a, -1, &r);
    EXPECT_DOUBLE_EQ(r.Im, -kPi);
}

TEST(InverseFunctions, ValuesAtOne) {
    const TComplex one{1, 0};
    TComplex r;
    ArcsinCom(&one, &r);
    EXPECT_NEAR(r.Re, kPi / 2, 1e-15);
    EXPECT_NEAR(r.Im, 0.0, 1e-15);
    ArccosCom(&one, &r);
    EXPECT_EQ(r.Re, 0.0);
    EXPECT_EQ(r.Im, 0.0);
}

TEST(InverseFunctions, UndoTheirForwardFunctions) {
    const TComplex a{0.3, -0.4};
    TComplex inverse, back;
    ArcsinCom(&a, &inverse);
    SinCom(&inverse, &back);
    EXPECT_NEAR(back.Re, a.Re, 1e-15);
    EXPECT_NEAR(back.Im, a.Im, 1e-15);
    ArccosCom(&a, &inverse);
    CosCom(&inverse, &back);
    EXPECT_NEAR(back.Re, a.Re, 1e-15);
    EXPECT_NEAR(back.Im, a.Im, 1e-15);
    ArctanCom(&a, &inverse);
    TanCom(&inverse, &back);
    EXPECT_NEAR(back.Re, a.Re, 1e-15);
    EXPECT_NEAR(back.Im, a.Im, 1e-15);
}

TEST(ElementaryFunctions, AgreeWithTheStandardLibrary) {
    const std::complex<double> z(0.7, -1.3);
    const TComplex a{z.real(), z.imag()};
    const struct {
        void(QUELLIS_CALL* routine)(const TComplex*, TComplex*);
        std::complex<double> expected;
    } cases[] = {{ExpCom, std::exp(z)},     {SinCom, std::sin(z)},     {CosCom, std::cos(z)},
                 {TanCom, std::tan(z)},     {ArcsinCom, std::asin(z)}, {ArccosCom, std::acos(z)},
                 {ArctanCom, std::atan(z)}, {SprCom, std::conj(z)}};
    for (const auto& c : cases) {
        TComplex r;
        c.routine(&a, &r);
        EXPECT_NEAR(r.Re, c.expected.real(), 1e-14);
        EXPECT_NEAR(r.Im, c.expected.imag(), 1e-14);
    }
    double modulus;
    AbsCom(&a, &modulus);
    EXPECT_DOUBLE_EQ(modulus, std::abs(z));
}

// Where the textbook formulas cancel or overflow (small and large arguments,
// near the poles of tan and the branch points of the inverse functions) the
// functions still give the value to a few ulps, measured normwise
// |R - f(A)|/|f(A)|. The references are mpmath at 700 digits:
//   mp.mp.dps = 700; v = mp.sin(mp.mpc(x, y))  (likewise cos, tan, asin,
//   acos, atan), printed with mp.nstr(v.real, 17), mp.nstr(v.imag, 17).
TEST(ElementaryFunctions, StayAccurateWhereTheTextbookFormulasCancelOrOverflow) {
    using Unary = void(QUELLIS_CALL*)(const TComplex*, TComplex*);
    const struct {
        Unary routine;
        TComplex a;
        std::complex<double> expected;
    } cases[] = {
        {SinCom, {0, 1e-10}, {0.0, 1.0e-10}},
        {SinCom, {0, 1e-170}, {0.0, 9.9999999999999998e-171}},
        {SinCom, {0, 710}, {0.0, 1.1169973830808555e+308}},
        {SinCom, {2.5, -710.3}, {9.0236956941436484e+307, 1.2079553351351625e+308}},
        {CosCom, {1e-08, 3e-09}, {0.99999999999999995, -3.0e-17}},
        {TanCom, {1e-10, 1e-10}, {1.0e-10, 1.0e-10}},
        {TanCom, {1.5707963267948966, 1e-12}, {61232339.72778316, 999999996250.60058}},
        {TanCom, {1.7976931348623157e+308, 0}, {-0.0049620158744448949, 0.0}},
        {TanCom, {0.3, 25}, {2.1781081694292898e-22, 1.0}},
        {ArcsinCom, {0, 1000000.0}, {0.0, 14.508657738524469}},
        {ArcsinCom, {10000000.0, 3000000.0}, {1.2793395323170283, 16.854331679638789}},
        {ArcsinCom, {-2e-170, 1e-170}, {-2.0e-170, 9.9999999999999998e-171}},
        {ArcsinCom, {0.999999, 1e-12}, {1.5693821131146519, 7.0710695795305405e-10}},
        {ArccosCom, {3000000000.0, -1000000000.0}, {0.32175055439664219, 22.567705564003379}},
        {ArccosCom, {1, 1e-300}, {1.0e-150, -1.0e-150}},
        {ArccosCom, {-1e-05, 2e-05}, {1.5708063267948948, -1.9999999999666668e-5}},
        {ArctanCom, {1e-10, 1e-10}, {1.0e-10, 1.0e-10}},
        {ArctanCom, {1e-170, -1e-170}, {9.9999999999999998e-171, -9.9999999999999998e-171}},
        {ArctanCom, {-1, 1e+150}, {-1.5707963267948966, 1.0e-150}},
        {ArctanCom, {1e-09, 0.9999999990686774}, {0.41047148846564427, 10.552074858670099}},
    };
    // tan near its pole takes cos(pi/2) = 6.123233995736766e-17 from the
    // platform, which the x87 cosine of 32-bit Windows gives only to five
    // digits: that case holds where the platform's cosine is right there.
    const bool cosineRightAtHalfPi = platformCos(kPi / 2) == 6.123233995736766e-17;
    for (const auto& c : cases) {
        if (c.routine == TanCom && c.a.Re == kPi / 2 && !cosineRightAtHalfPi) {
            continue;
        }
        TComplex r;
        c.routine(&c.a, &r);
        const double error = std::abs(std::complex<double>(r.Re, r.Im) - c.expected);
        EXPECT_LE(error, 2e-15 * std::abs(c.expected))
            << c.a.Re << " + " << c.a.Im << "i: " << r.Re << " + " << r.Im << "i";
    }
}

// Every routine copies its inputs first, so writing the result over an input
// gives the same value as writing it elsewhere.
TEST(Aliasing, OutputOverAnInputGivesTheSameResult) {
    const TComplex a{0.6, -0.8}, b{-1.5, 2.25};
    const auto check = [](TComplex separate, TComplex aliased) {
        EXPECT_EQ(separate.Re, aliased.Re);
        EXPECT_EQ(separate.Im, aliased.Im);
    };
    using Unary = void(QUELLIS_CALL*)(const TComplex*, TComplex*);
    for (const Unary f :
         {SprCom, ExpCom, SinCom, CosCom, TanCom, ArcsinCom, ArccosCom, ArctanCom}) {
        TComplex separate, aliased = a;
        f(&a, &separate);
        f(&aliased, &aliased);
        check(separate, aliased);
    }
    using Binary = void(QUELLIS_CALL*)(const TComplex*, const TComplex*, TComplex*);
    for (const Binary f : {MultCom, DivCom}) {
        TComplex separate, first = a, second = b;
        f(&a, &b, &separate);
        f(&first, &b, &first);
        f(&a, &second, &second);
        check(separate, first);
        check(separate, second);
    }
    TComplex separate, aliased = a;
    PowCom(&a, &separate, 0.5);
    PowCom(&aliased, &aliased, 0.5);
    check(separate, aliased);
    aliased = a;
    LogCom(&a, 2, &separate);
    LogCom(&aliased, 2, &aliased);
    check(separate, aliased);
    TComplex roots[3], aliasedRoots[3] = {a};
    RootCom(&a, 3, roots, 2);
    RootCom(&aliasedRoots[0], 3, aliasedRoots, 2);
    for (int k = 0; k < 3; ++k) {
        check(roots[k], aliasedRoots[k]);
    }
}

} // namespace
