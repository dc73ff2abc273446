// SPDX-License-Identifier: MIT
// The coated sphere's Mie coefficients, order by order.
#include "Coat.h"
#include "quellis/series/Sphere.h"

namespace quellis {
namespace {

// The switch's threshold: the extended-precision value nearest to 1e-8.
constexpr long double kNegligible = 1e-8L;

} // namespace

CoatedSeries::CoatedSeries(const CoatedSphere& sphere, long count)
    : v_(mul(sphere.x, sphere.m2)), w_(mul(sphere.y, sphere.m2)), byV_(v_), byW_(w_),
      indexRatio_(div(sphere.m2, sphere.m1)), du_(count), dv_(count), dw_(count),
      outgoingV_(v_, outgoingLogDerivativeAtZero()), outgoingW_(w_, outgoingLogDerivativeAtZero()),
      standingV_(v_, standingLogDerivativeAtZero(v_)),
      standingW_(w_, standingLogDerivativeAtZero(w_)), outgoingRatio_(outgoingRatioAtZero(v_, w_)),
      standingRatio_(standingRatioAtZero(v_, w_)), y_(sphere.y), outer_(count),
      outerCoefficients_(sphere.y, sphere.m2) {
    riccatiBesselTable(sphere.y, count, seriesRestart(termCount(sphere.y.re), abs(sphere.y), count),
                       outer_.data());
    logDerivative(mul(sphere.x, sphere.m1), count, du_.data());
    logDerivative(v_, count, dv_.data());
    logDerivative(w_, count, dw_.data());
}

MieCoefficient CoatedSeries::next() {
    const long n = ++order_;
    const auto index = static_cast<std::size_t>(n);
    const Cx dw = dw_[index];
    ShellDerivatives shell{dw, dw};
    if (!coreNegligible_) {
        shell = shellDerivatives(n, du_[index], dv_[index], dw);
    }
    // Outside, the particle is a sphere of size y whose D_n is Dbar for a_n
    // and Gbar for b_n.
    const RiccatiBesselRow& before = outer_[index - 1];
    const RiccatiBesselRow& current = outer_[index];
    return outerCoefficients_(outerCoefficients_.fromDerivatives(shell.forA, shell.forB, current.d),
                              outerCoefficients_.orderOverX(n), current.d, partnerOf(y_, before),
                              partnerOf(y_, current));
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
    // quantities of the switch test.
    const Cx mDu = mul(indexRatio_, du);
    const Cx mDv = mul(indexRatio_, dv);
    const Cx chiV = standingV_.value();
    const Cx coreA = mul(standingRatio_, div(mDu - dv, mDu - chiV));
    const Cx coreB = mul(standingRatio_, div(mDv - du, mul(indexRatio_, chiV) - du));
    const double chiW = abs(standingW_.value());
    const long double limit = kNegligible * abs(dw);
    if (limit > abs(coreA) * chiW && limit > abs(coreB) * chiW && kNegligible > abs(coreA) &&
        kNegligible > abs(coreB)) {
        coreNegligible_ = true;
        return {dw, dw};
    }

    // The same shares with xi_n as the second solution, which stays apart
    // from psi_n however strongly the shell absorbs.
    const Cx xiV = outgoingV_.value();
    const Cx xiW = outgoingW_.value();
    const Cx shareA = mul(outgoingRatio_, div(mDu - dv, mDu - xiV));
    const Cx shareB = mul(outgoingRatio_, div(mDv - du, mul(indexRatio_, xiV) - du));
    return {div(dw - mul(shareA, xiW), real(1) - shareA),
            div(dw - mul(shareB, xiW), real(1) - shareB)};
}

} // namespace quellis
