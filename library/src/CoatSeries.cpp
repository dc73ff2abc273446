// SPDX-License-Identifier: MIT
// The coated sphere's Mie coefficients, order by order.
#include "Coat.h"
#include "quellis/series/Sphere.h"

namespace quellis {
namespace {

// The switch's threshold: the extended-precision value nearest to 1e-8.
constexpr long double kNegligible = 1e-8L;

// A core of size 0, or so small beside the particle (|x| <= 1e-100 |y|)
// that its share of the shell field, of order (x/y)^3 at order 1, lies far
// below the switch's threshold from the first order on: the particle is the
// homogeneous sphere of the shell's index, and the core's functions, whose
// n/x may not even be a double, are not formed.
bool coreAbsent(const CoatedSphere& sphere) {
    return abs(sphere.x) <= 1e-100 * abs(sphere.y);
}

} // namespace

CoatedSeries::CoatedSeries(const CoatedSphere& sphere, long count)
    : v_(mul(sphere.x, sphere.m2)), w_(mul(sphere.y, sphere.m2)), byU_(mul(sphere.x, sphere.m1)),
      byV_(v_), byW_(w_), indexRatio_(div(sphere.m2, sphere.m1)), du_(count + 1), dv_(count + 1),
      dw_(count + 1), outgoingV_(v_, outgoingLogDerivativeAtZero()),
      outgoingW_(w_, outgoingLogDerivativeAtZero()),
      standingV_(v_, standingLogDerivativeAtZero(v_)),
      standingW_(w_, standingLogDerivativeAtZero(w_)), outgoingRatio_(outgoingRatioAtZero(v_, w_)),
      standingRatio_(standingRatioAtZero(v_, w_)),
      real_(sphere.x.im == 0 && sphere.y.im == 0 && sphere.m1.im == 0 && sphere.m2.im == 0),
      y_(sphere.y), outer_(count + 1), outerCoefficients_(sphere.y, sphere.m2) {
    // One order beyond the series: the ratios psi_{n+1}/psi_n of order n
    // come from D_{n+1}.
    const long last = count + 1;
    riccatiBesselTable(sphere.y, last, seriesRestart(termCount(sphere.y.re), abs(sphere.y), last),
                       outer_.data());
    // D_n of the core's arguments upward where every order lies far below
    // a huge |z| (a huge index), so that no call runs its downward
    // recurrence over |z| orders.
    logDerivativeTable(w_, last, dw_.data());
    coreNegligible_ = coreAbsent(sphere);
    if (!coreNegligible_) {
        logDerivativeTable(mul(sphere.x, sphere.m1), last, du_.data());
        logDerivativeTable(v_, last, dv_.data());
    }
}

Cx CoatedSeries::psiRatio(const OrderTable& d, const Divisor& byZ, long n) {
    return reciprocal(d[static_cast<std::size_t>(n + 1)] +
                      byZ.divideCount(static_cast<double>(n + 1)));
}

MieCoefficient CoatedSeries::next() {
    const long n = ++order_;
    const auto index = static_cast<std::size_t>(n);
    const Cx dw = dw_[index];
    const Cx ratioW = psiRatio(dw_, byW_, n);
    ShellDerivatives shell{dw, dw, ratioW, ratioW};
    if (!coreNegligible_) {
        shell = shellDerivatives(n, du_[index], dv_[index], dw);
    }
    // Outside, the particle is a sphere of size y whose D_n is Dbar for a_n
    // and Gbar for b_n. From n = |y| on, where the n/y of the derivatives
    // would cancel in a_n's and b_n's numerators, these are formed from the
    // ratios f_{n+1}/f_n of the shell's fields and psi_{n+1}(y)/psi_n(y).
    const RiccatiBesselRow& before = outer_[index - 1];
    const RiccatiBesselRow& current = outer_[index];
    const CoefficientInside inside =
        static_cast<double>(n) < abs(y_)
            ? outerCoefficients_.fromDerivatives(shell.forA, shell.forB, current.d)
            : outerCoefficients_.fromShellRatios(
                  n, shell.forA, shell.forB, shell.ratioA, shell.ratioB,
                  reciprocal(outer_[index + 1].d + outerCoefficients_.orderOverX(n + 1)));
    return outerCoefficients_(inside, outerCoefficients_.orderOverX(n), current.d,
                              partnerOf(y_, before), partnerOf(y_, current));
}

CoatedSeries::ShellDerivatives CoatedSeries::shellDerivatives(long n, Cx du, Cx dv, Cx dw) {
    // psi_{n-1}(z)/psi_n(z) = D_n(z) + n/z carries both ratios from n-1 to n.
    const Cx order = real(static_cast<double>(n));
    const Cx psiBackV = dv + byV_.divide(order);
    const Cx psiBackW = dw + byW_.divide(order);
    const Cx outgoingStepV = outgoingV_.advance(n);
    const Cx outgoingStepW = outgoingW_.advance(n);
    const Cx standingStepV = standingV_.advance(n);
    const Cx standingStepW = standingW_.advance(n);
    outgoingRatio_ =
        mul(outgoingRatio_, div(mul(psiBackW, outgoingStepW), mul(psiBackV, outgoingStepV)));
    standingRatio_ =
        mul(standingRatio_, div(mul(psiBackW, standingStepW), mul(psiBackV, standingStepV)));

    // The core's share of the shell field at the outer surface, with chi_n as
    // the second solution (An*chi_n(w)/psi_n(w), Bn*chi_n(w)/psi_n(w)): the
    // quantities of the switch test. Bn's numerator m D_n(v) - D_n(u), whose
    // (n+1)/(m1 x) terms cancel, is formed as q(u) - m q(v) from the ratios
    // q = psi_{n+1}/psi_n.
    const Cx mDu = mul(indexRatio_, du);
    const Cx bNumerator = psiRatio(du_, byU_, n) - mul(indexRatio_, psiRatio(dv_, byV_, n));
    const Cx chiV = standingV_.value();
    const Cx coreA = mul(standingRatio_, div(mDu - dv, mDu - chiV));
    const Cx coreB = mul(standingRatio_, div(bNumerator, mul(indexRatio_, chiV) - du));
    const Cx chiW = standingW_.value();
    const long double limit = kNegligible * abs(dw);
    if (limit > abs(coreA) * abs(chiW) && limit > abs(coreB) * abs(chiW) &&
        kNegligible > abs(coreA) && kNegligible > abs(coreB)) {
        coreNegligible_ = true;
        const Cx ratioW = psiRatio(dw_, byW_, n);
        return {dw, dw, ratioW, ratioW};
    }
    if (real_) {
        return shellFields(n, dw, coreA, coreB, chiW);
    }
    // The same shares with xi_n as the second solution, which stays apart
    // from psi_n however strongly the shell absorbs.
    const Cx xiV = outgoingV_.value();
    const Cx shareA = mul(outgoingRatio_, div(mDu - dv, mDu - xiV));
    const Cx shareB = mul(outgoingRatio_, div(bNumerator, mul(indexRatio_, xiV) - du));
    return shellFields(n, dw, shareA, shareB, outgoingW_.value());
}

// The shell's field f_n = psi_n(w) - A g_n(w) with a second solution g of
// logarithmic derivative dg, through the core's share s = A g_n(w)/psi_n(w):
// Dbar = (D_n(w) - s dg)/(1 - s) and, with q(w) = psi_{n+1}(w)/psi_n(w),
// f_{n+1}/f_n = (q(w) - s g_{n+1}/g_n)/(1 - s), g_{n+1}/g_n = (n+1)/w - dg.
CoatedSeries::ShellDerivatives CoatedSeries::shellFields(long n, Cx dw, Cx shareA, Cx shareB,
                                                         Cx secondD) const {
    const Cx ratioW = psiRatio(dw_, byW_, n);
    const Cx secondRatio = byW_.divide(real(static_cast<double>(n + 1))) - secondD;
    const Cx keepA = real(1) - shareA;
    const Cx keepB = real(1) - shareB;
    return {div(dw - mul(shareA, secondD), keepA), div(dw - mul(shareB, secondD), keepB),
            div(ratioW - mul(shareA, secondRatio), keepA),
            div(ratioW - mul(shareB, secondRatio), keepB)};
}

} // namespace quellis
