// SPDX-License-Identifier: GPL-3.0-or-later
// The floating-point fault flags as the fits read them: raised by double
// arithmetic and by extended-precision (long double) arithmetic, which on
// 32-bit x86 keep their flags in different registers, and cleared again.
#include "fit/FpFault.h"

#include <gtest/gtest.h>

#include <limits>

namespace velmora {
namespace {

// Each operation computes from values the compiler cannot fold.
template <typename Real> struct Faults {
    static Real divideByZero(Real one, Real zero) {
        Real q = one / zero;
        pinFp(q);
        return q;
    }
    static Real overflow(Real big) {
        Real p = big * big;
        pinFp(p);
        return p;
    }
    static Real invalid(Real zero) {
        Real q = zero / zero;
        pinFp(q);
        return q;
    }
};

template <typename Real> void expectEveryFaultFoundAndCleared() {
    Real one = 1;
    Real zero = 0;
    Real big = std::numeric_limits<Real>::max();
    Real tiny = std::numeric_limits<Real>::min();
    pinFp(one, zero, big, tiny);

    clearFpFlags();
    EXPECT_EQ(raisedFpFault(), FpFault::None);
    Real r = Faults<Real>::divideByZero(one, zero);
    EXPECT_EQ(faultAfter(r), FpFault::DivisionByZero);
    clearFpFlags();
    EXPECT_EQ(raisedFpFault(), FpFault::None);

    r = Faults<Real>::overflow(big);
    EXPECT_EQ(faultAfter(r), FpFault::Overflow);
    clearFpFlags();

    r = Faults<Real>::invalid(zero);
    EXPECT_EQ(faultAfter(r), FpFault::InvalidOperation);
    clearFpFlags();

    // Underflow and inexact results are no faults.
    r = tiny * tiny + one / (one + one + one);
    EXPECT_EQ(faultAfter(r), FpFault::None);

    // Several at once: division by zero first, then overflow.
    r = Faults<Real>::invalid(zero) + Faults<Real>::overflow(big);
    EXPECT_EQ(faultAfter(r), FpFault::Overflow);
    r = Faults<Real>::divideByZero(one, zero);
    EXPECT_EQ(faultAfter(r), FpFault::DivisionByZero);
    clearFpFlags();
}

TEST(FpFault, DoubleArithmeticRaisesAndClears) {
    expectEveryFaultFoundAndCleared<double>();
}

TEST(FpFault, ExtendedArithmeticRaisesAndClears) {
    expectEveryFaultFoundAndCleared<long double>();
}

TEST(FpFault, MessagesNameTheFault) {
    EXPECT_STREQ(fpFaultMessage(FpFault::DivisionByZero), "Floating point division by zero");
    EXPECT_STREQ(fpFaultMessage(FpFault::Overflow), "Floating point overflow");
    EXPECT_STREQ(fpFaultMessage(FpFault::InvalidOperation), "Invalid floating point operation");
}

} // namespace
} // namespace velmora
