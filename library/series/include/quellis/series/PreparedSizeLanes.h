// SPDX-License-Identifier: MIT
// The index side of a prepared size (PreparedSphereSize.h) for several
// indices at once, one in each lane of `Real`, a vector of doubles with the
// compiler's element-wise arithmetic (the program instantiates it for its
// lane types). Each index's start comes from indexStart, in double
// arithmetic; the lanes sum the continued fractions that start the chains
// at the series' last order, then take the downward steps, the coefficients
// and the sums. Every lane goes through the operations the prepared size's
// series takes for its index, in the same order, so every lane width gives
// the same bits; a lane whose steps would leave that common path (a divisor
// whose norm is unsafe or that is real, a fraction that outgrows the scaled
// convergents) is marked for the series one index at a time.
#pragma once

#include "quellis/series/PreparedSphereSize.h"
#include "quellis/series/ScaledConvergents.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>

namespace quellis {

template <class Real> class PreparedSizeLanes {
public:
    explicit PreparedSizeLanes(const PreparedSphereSize& size) : size_(size) {}

    // S1 and S2 of each index start into `out`, the starts in blocks of the
    // lanes (the last block's lanes past the last start repeat it). rerun[i] is set, and out[i] is
    // not the series' value, where index i must take the series one by one.
    void amplitudes(std::span<const PreparedSphereSize::IndexStart> starts,
                    std::span<Amplitudes> out, std::span<unsigned char> rerun) const {
        using Coefficient = MieCoefficientOf<Real>;
        // Aligned for the lanes by hand: not every heap aligns as a vector
        // of doubles needs.
        const std::size_t bytes =
            (static_cast<std::size_t>(size_.count_) + 1) * sizeof(Coefficient);
        std::size_t space = bytes + alignof(Coefficient);
        const std::unique_ptr<unsigned char[]> storage(new unsigned char[space]);
        void* start = storage.get();
        auto* coefficients =
            static_cast<Coefficient*>(std::align(alignof(Coefficient), bytes, start, space));
        const std::size_t count = starts.size();
        for (std::size_t first = 0; first < count; first += kWidth) {
            IndexLanes in{};
            // The lanes whose fraction the lanes sum; the others' arguments
            // stand in as 1 + i, which takes no step.
            Mask fraction{};
            Complex<Real> rho{};
            Real modulus{};
            for (std::size_t lane = 0; lane < kWidth; ++lane) {
                const PreparedSphereSize::IndexStart& start =
                    starts[std::min(first + lane, count - 1)];
                fraction[lane] = start.fractionInLanes ? -1 : 0;
                putLane(rho, lane, start.fractionInLanes ? start.rho : Cx{1.0, 1.0});
                modulus[lane] = start.fractionInLanes ? start.modulus : 1.0;
                putLane(in.terms.m, lane, start.terms.m);
                putLane(in.terms.inverseM, lane, start.terms.inverseM);
                putLane(in.terms.inverseMSquared, lane, start.terms.inverseMSquared);
                putLane(in.terms.indexTerm, lane, start.terms.indexTerm);
                putLane(in.inverseRho, lane, start.inverseRho);
                putLane(in.d, lane, start.d);
                putLane(in.ratio, lane, start.ratio);
            }
            Complex<Real> s1{};
            Complex<Real> s2{};
            Mask unsafe{};
            sumFractions(rho, modulus, fraction, in, unsafe);
            runSeries(in, coefficients, s1, s2, unsafe);
            for (std::size_t lane = 0; lane < kWidth && first + lane < count; ++lane) {
                const std::size_t i = first + lane;
                out[i] = {{s1.re[lane], s1.im[lane]}, {s2.re[lane], s2.im[lane]}};
                rerun[i] = unsafe[lane] != 0 || !starts[i].lanesServe;
            }
        }
    }

private:
    static constexpr std::size_t kWidth = sizeof(Real) / sizeof(double);
    // A lane's all bits set where it holds.
    using Mask = decltype(Real{} == Real{});

    // The indices' starts, lane by lane.
    struct IndexLanes {
        IndexTerms<Real> terms;
        Complex<Real> inverseRho;
        Complex<Real> d;
        Complex<Real> ratio;
    };

    // S1 and S2 for the indices in the lanes of `in`, with `coefficients`
    // (orders 0..count) to hold theirs; `unsafe` gains the lanes that left
    // the common path, whose values are not the series'.
    void runSeries(const IndexLanes& in, MieCoefficientOf<Real>* coefficients, Complex<Real>& s1,
                   Complex<Real>& s2, Mask& unsafe) const {
        Complex<Real> d = in.d;
        Complex<Real> ratio = in.ratio;
        for (long n = size_.count_; n >= 1; --n) {
            const auto k = static_cast<std::size_t>(n);
            if (n < size_.count_) {
                const Complex<Real> q = orderTimes(static_cast<double>(n + 1), in.inverseRho);
                const Complex<Real> w = d + q;
                const Real norm = norm2(w);
                unsafe = unsafe || w.im == 0 || !normInSafeRange(norm);
                ratio = conjugateOverNorm(w, norm);
                d = q - ratio;
            }
            const auto& outer = size_.outer_[k];
            const CoefficientInsideOf<Real> inside =
                static_cast<double>(n) < size_.x_
                    ? insideFromRealDerivative(in.terms, d, outer.d)
                    : insideFromRealRatios(in.terms, static_cast<double>(n + 1) * size_.inverseX_,
                                           ratio, outer.ratio);
            const double nOverX = static_cast<double>(n) * size_.inverseX_;
            const double pb = size_.minusChi_[k - 1];
            const double p = size_.minusChi_[k];
            const double c = realSizeWronskian(nOverX, outer.d, pb, p);
            if (n >= size_.firstOverflow_ || std::isinf(c)) {
                coefficients[k] = {{Real{}, Real{}}, {Real{}, Real{}}};
                continue;
            }
            coefficients[k] = {
                laneQuotient(inside.fa, c, plusOrderOverX(inside.aInside, nOverX), pb, p, unsafe),
                laneQuotient(inside.fb, c, plusOrderOverX(inside.bInside, nOverX), pb, p, unsafe)};
        }
        AmplitudeSums<Real> sums;
        for (long n = 1; n <= size_.count_; ++n) {
            size_.angular_.addTerm(sums, n, coefficients[static_cast<std::size_t>(n)]);
        }
        s1 = sums.s1();
        s2 = sums.s2();
    }

    // D_n(rho) and psi_{n+1}/psi_n at n = count from the scaled convergents
    // of the fraction, as logDerivativeAndRatioAt sums them, into the lanes
    // of `in` that `fraction` marks: each lane takes its steps until its own
    // convergents agree, and keeps them while the others go on.
    void sumFractions(Complex<Real> rho, Real modulus, Mask fraction, IndexLanes& in,
                      Mask& unsafe) const {
        using Convergents = ScaledConvergents<Complex<Real>, Real, true>;
        const Complex<Real> one{Real{} + 1.0, Real{}};
        const Complex<Real> zero{Real{}, Real{}};
        double weight = 2 * static_cast<double>(size_.count_) + 1;
        Convergents c{
            mul(rho, rho), modulus * modulus, {Real{} + weight, Real{}}, one, rho, zero, zero, one,
            modulus};
        const auto size = [](Complex<Real> a) { return magnitude(a.re) + magnitude(a.im); };
        Mask goesOn = fraction;
        for (long j = 1; j < kMaxFractionTerms && anyLane(goesOn); j += 2) {
            Convergents next = c;
            weight += 2;
            next.step(-weight);
            weight += 2;
            next.step(weight);
            c.numerator = pick(goesOn, next.numerator, c.numerator);
            c.numeratorBefore = pick(goesOn, next.numeratorBefore, c.numeratorBefore);
            c.denominator = pick(goesOn, next.denominator, c.denominator);
            c.denominatorBefore = pick(goesOn, next.denominatorBefore, c.denominatorBefore);
            c.tail = pick(goesOn, next.tail, c.tail);
            c.tailBefore = pick(goesOn, next.tailBefore, c.tailBefore);
            c.rhoPower = goesOn ? next.rhoPower : c.rhoPower;
            goesOn = goesOn && c.goesOn(size);
        }
        const Real norm = norm2(c.denominator);
        unsafe = unsafe || (fraction && (!(c.rhoPower <= std::numeric_limits<double>::max()) ||
                                         c.denominator.im == 0 || !normInSafeRange(norm)));
        const Complex<Real> inverseDenominator = conjugateOverNorm(c.denominator, norm);
        const double order = static_cast<double>(size_.count_);
        const Complex<Real> d =
            times(c.numerator, inverseDenominator) - times(order, in.inverseRho);
        // The tail's ratio from 4|rho| on, where (n+1)/rho - D_n would cancel.
        const Mask carryTail = fraction && order >= 4 * modulus;
        const Complex<Real> ratio = pick(carryTail, times(-1.0, times(c.tail, inverseDenominator)),
                                         times(order + 1, in.inverseRho) - d);
        in.d = pick(fraction, d, in.d);
        in.ratio = pick(fraction, ratio, in.ratio);
    }

    static bool anyLane(Mask m) {
        for (std::size_t lane = 0; lane < kWidth; ++lane) {
            if (m[lane] != 0) {
                return true;
            }
        }
        return false;
    }

    static Complex<Real> pick(Mask m, Complex<Real> ifSet, Complex<Real> otherwise) {
        return {m ? ifSet.re : otherwise.re, m ? ifSet.im : otherwise.im};
    }

    // |a|: a with its sign bit cleared, as fabs clears it.
    static Real magnitude(Real a) {
        return reinterpret_cast<Real>(reinterpret_cast<Mask>(a) & (Mask{} + INT64_MAX));
    }

    static void putLane(Complex<Real>& to, std::size_t lane, Cx value) {
        to.re[lane] = value.re;
        to.im[lane] = value.im;
    }

    // The coefficient's quotient f/w, the lanes whose |w|^2 is unsafe marked
    // (the series divides by c first there).
    [[gnu::always_inline]] static Complex<Real>
    laneQuotient(Complex<Real> f, double c, Complex<Real> g, double pb, double p, Mask& unsafe) {
        const Complex<Real> w = realQuotientDivisor(f, c, g, pb, p);
        const Real norm = norm2(w);
        unsafe = unsafe || !normInSafeRange(norm);
        return quotientOverNorm(f, w, norm);
    }

    const PreparedSphereSize& size_;
};

} // namespace quellis
