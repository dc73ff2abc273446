// SPDX-License-Identifier: MIT
// The scattering matrix of a homogeneous sphere of one positive real size x
// at one angle for many indices m. Everything of the series that depends on
// x and the angle alone (the term count, chi_n, the chain of D_n(x) from its
// continued-fraction start, pi_n and tau_n) is computed once, by the steps
// the scattering-matrix export takes; each index then runs only its own
// side (the chain of D_n(m x), the coefficients, the sums) through the same
// steps. So every value, and every floating-point flag raised on the way,
// is one the export forms for that (x, m, angle): the x side's once, when
// the size is prepared.
//
// The index side also runs for several indices at once, one in each lane of
// a vector of doubles (the program instantiates it for its lane types): the
// start of each index's chain in plain double arithmetic (indexStart), the
// downward steps, coefficients and sums in the lanes (amplitudesInLanes),
// every lane through the operations the series above takes for its index,
// in the same order. A lane whose steps would leave that common path (a
// divisor whose norm is unsafe, a real one) is marked for the series above.
#pragma once

#include "ScaledConvergents.h"
#include "SphereSeries.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>

namespace quellis {

class PreparedSphereSize {
public:
    // Whether the export takes the series below for a size parameter (x, 0):
    // a positive size below the sizes whose D_n may come upward (which keeps
    // it far below those whose tables cannot exist). Not for any other
    // size, nor for one that is not a number.
    static bool serves(double x) { return x > 0 && x < kUpwardArgument; }

    // The x side for a size that serves() accepts.
    PreparedSphereSize(double x, double theta)
        : x_(x), inverseX_(1 / x), terms_(termCount(x)), count_(terms_), angular_(count_, theta),
          minusChi_(count_), outer_(count_) {
        RealLogDerivativeChain chain = realSeriesChain(x, terms_, count_);
        firstOverflow_ = chiUpward(
            x, count_, [&](long n, double chi) { minusChi_[static_cast<std::size_t>(n)] = -chi; });
        angular_.fill();
        for (long n = chain.restart; n >= count_; --n) {
            chain.moveTo(n);
        }
        outer_[static_cast<std::size_t>(count_)] = {chain.d, chain.ratio};
        for (long n = count_ - 1; n >= 1; --n) {
            chain.stepTo(n);
            outer_[static_cast<std::size_t>(n)] = {chain.d, chain.ratio};
        }
    }
    PreparedSphereSize(const PreparedSphereSize&) = delete;
    PreparedSphereSize& operator=(const PreparedSphereSize&) = delete;

    // What the lanes take from one index m: the terms of its coefficients, and
    // its chain of D_n(m x) standing at order count, 1/(m x) for its steps.
    // Where the chain starts at order count from the scaled convergents of
    // its fraction (fractionInLanes), the lanes sum them, from rho = m x and
    // |rho|, and d and ratio are left out. `lanesServe` is false for an index
    // whose steps divide by m x rather than multiply by its inverse (a real
    // or an extreme m x).
    struct IndexStart {
        IndexTerms<double> terms;
        Cx inverseRho;
        Cx d;
        Cx ratio;
        bool lanesServe;
        bool fractionInLanes;
        Cx rho;
        double modulus;
    };
    IndexStart indexStart(Cx m) const {
        const Cx rho = mul(real(x_), m);
        const double modulus = abs(rho);
        if (seriesRestart(terms_, modulus, count_) == count_ &&
            fractionTakesScaledConvergents(rho, modulus, count_)) {
            const LogDerivativeStep step(rho, rho.im != 0);
            return {
                indexTermsOf(m), step.inverseRho(), Cx{}, Cx{}, step.multipliesInverse(), true, rho,
                modulus};
        }
        LogDerivativeChain inner = seriesChain(rho, modulus, terms_, count_, rho.im != 0);
        for (long n = inner.restart; n >= count_; --n) {
            inner.moveTo(n);
        }
        return {indexTermsOf(m),
                inner.step.inverseRho(),
                inner.d,
                inner.ratio,
                inner.step.multipliesInverse(),
                false,
                rho,
                modulus};
    }

    // The lanes' view of several index starts: each member's lanes.
    template <class Real> struct IndexLanes {
        IndexTerms<Real> terms;
        Complex<Real> inverseRho;
        Complex<Real> d;
        Complex<Real> ratio;
    };

    long count() const { return count_; }

    // S1 and S2 for the indices in the lanes of `in`, with `coefficients`
    // (orders 0..count()) to hold theirs; `unsafe` gains the lanes that left
    // the common path, whose values are not the series'.
    template <class Real, class Mask>
    void amplitudesInLanes(const IndexLanes<Real>& in, MieCoefficientOf<Real>* coefficients,
                           Complex<Real>& s1, Complex<Real>& s2, Mask& unsafe) const {
        Complex<Real> d = in.d;
        Complex<Real> ratio = in.ratio;
        for (long n = count_; n >= 1; --n) {
            const auto k = static_cast<std::size_t>(n);
            if (n < count_) {
                const Complex<Real> q = orderTimes(static_cast<double>(n + 1), in.inverseRho);
                const Complex<Real> w = d + q;
                const Real norm = norm2(w);
                unsafe = unsafe || w.im == 0 || !normInSafeRange(norm);
                ratio = conjugateOverNorm(w, norm);
                d = q - ratio;
            }
            const ChainValues& outer = outer_[k];
            const CoefficientInsideOf<Real> inside =
                static_cast<double>(n) < x_
                    ? insideFromRealDerivative(in.terms, d, outer.d)
                    : insideFromRealRatios(in.terms, static_cast<double>(n + 1) * inverseX_, ratio,
                                           outer.ratio);
            const double nOverX = static_cast<double>(n) * inverseX_;
            const double pb = minusChi_[k - 1];
            const double p = minusChi_[k];
            const double c = realSizeWronskian(nOverX, outer.d, pb, p);
            if (n >= firstOverflow_ || std::isinf(c)) {
                coefficients[k] = {{Real{}, Real{}}, {Real{}, Real{}}};
                continue;
            }
            coefficients[k] = {
                laneQuotient(inside.fa, c, plusOrderOverX(inside.aInside, nOverX), pb, p, unsafe),
                laneQuotient(inside.fb, c, plusOrderOverX(inside.bInside, nOverX), pb, p, unsafe)};
        }
        AmplitudeSums<Real> sums;
        for (long n = 1; n <= count_; ++n) {
            angular_.addTerm(sums, n, coefficients[static_cast<std::size_t>(n)]);
        }
        s1 = sums.s1();
        s2 = sums.s2();
    }

    // S1 and S2 of each index start into `out`, the starts in blocks of the
    // lanes of `Real` (a vector of doubles; the last block's lanes past the
    // last start repeat it). rerun[i] is set, and out[i] is not the series'
    // value, where index i must take the series one by one.
    template <class Real>
    void amplitudesInBlocks(std::span<const IndexStart> starts, std::span<Amplitudes> out,
                            std::span<unsigned char> rerun) const {
        constexpr std::size_t width = sizeof(Real) / sizeof(double);
        using Mask = decltype(Real{} == Real{});
        using Coefficient = MieCoefficientOf<Real>;
        // Aligned for the lanes by hand: not every heap aligns as a vector
        // of doubles needs.
        const std::size_t bytes = (static_cast<std::size_t>(count_) + 1) * sizeof(Coefficient);
        std::size_t space = bytes + alignof(Coefficient);
        const std::unique_ptr<unsigned char[]> storage(new unsigned char[space]);
        void* start = storage.get();
        auto* coefficients =
            static_cast<Coefficient*>(std::align(alignof(Coefficient), bytes, start, space));
        const std::size_t count = starts.size();
        for (std::size_t first = 0; first < count; first += width) {
            IndexLanes<Real> in{};
            // The lanes whose fraction the lanes sum; the others' arguments
            // stand in as 1 + i, which takes no step.
            Mask fraction{};
            Complex<Real> rho{};
            Real modulus{};
            for (std::size_t lane = 0; lane < width; ++lane) {
                const IndexStart& start = starts[std::min(first + lane, count - 1)];
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
            fractionInLanes(rho, modulus, fraction, in, unsafe);
            amplitudesInLanes(in, coefficients, s1, s2, unsafe);
            for (std::size_t lane = 0; lane < width && first + lane < count; ++lane) {
                const std::size_t i = first + lane;
                out[i] = {{s1.re[lane], s1.im[lane]}, {s2.re[lane], s2.im[lane]}};
                rerun[i] = unsafe[lane] != 0 || !starts[i].lanesServe;
            }
        }
    }

    // S1 and S2 for the index m.
    Amplitudes amplitudes(Cx m) const {
        const Cx x = real(x_);
        const Cx rho = mul(x, m);
        const double rhoModulus = abs(rho);
        OrderArray<MieCoefficient> coefficients(count_);
        LogDerivativeChain inner = seriesChain(rho, rhoModulus, terms_, count_, rho.im != 0);
        const MieCoefficients coefficient(x, m);
        PreparedChain outer{outer_.data(), count_ + 1, 0.0, 0.0};
        realSizeCoefficientsFrom(coefficient, x_, count_, inner, outer, minusChi_.data(),
                                 firstOverflow_, coefficients.data());
        AmplitudeAccumulator sums;
        for (long n = 1; n <= count_; ++n) {
            angular_.addTerm(sums, n, coefficients[static_cast<std::size_t>(n)]);
        }
        return sums.sums();
    }

    // S11, S12, S33 and S34 for the index m.
    ScatteringElements elements(Cx m) const { return scatteringElements(amplitudes(m)); }

private:
    // D_n(rho) and psi_{n+1}/psi_n at n = count from the scaled convergents
    // of the fraction, as logDerivativeAndRatioAt sums them, into the lanes
    // of `in` that `fraction` marks: each lane takes its steps until its own
    // convergents agree, and keeps them while the others go on.
    template <class Real, class Mask>
    void fractionInLanes(Complex<Real> rho, Real modulus, Mask fraction, IndexLanes<Real>& in,
                         Mask& unsafe) const {
        using Convergents = ScaledConvergents<Complex<Real>, Real, true>;
        const Complex<Real> one{Real{} + 1.0, Real{}};
        const Complex<Real> zero{Real{}, Real{}};
        double weight = 2 * static_cast<double>(count_) + 1;
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
        const double order = static_cast<double>(count_);
        const Complex<Real> d =
            times(c.numerator, inverseDenominator) - times(order, in.inverseRho);
        // The tail's ratio from 4|rho| on, where (n+1)/rho - D_n would cancel.
        const Mask carryTail = fraction && order >= 4 * modulus;
        const Complex<Real> ratio = pick(carryTail, times(-1.0, times(c.tail, inverseDenominator)),
                                         times(order + 1, in.inverseRho) - d);
        in.d = pick(fraction, d, in.d);
        in.ratio = pick(fraction, ratio, in.ratio);
    }

    template <class Mask> static bool anyLane(Mask m) {
        for (std::size_t lane = 0; lane < sizeof(Mask) / sizeof(m[0]); ++lane) {
            if (m[lane] != 0) {
                return true;
            }
        }
        return false;
    }

    template <class Real, class Mask>
    static Complex<Real> pick(Mask m, Complex<Real> ifSet, Complex<Real> otherwise) {
        return {m ? ifSet.re : otherwise.re, m ? ifSet.im : otherwise.im};
    }

    // |a|: a with its sign bit cleared, as fabs clears it.
    template <class Real> static Real magnitude(Real a) {
        using Bits = decltype(a < a);
        return reinterpret_cast<Real>(reinterpret_cast<Bits>(a) & (Bits{} + INT64_MAX));
    }

    template <class Real> static void putLane(Complex<Real>& to, std::size_t lane, Cx value) {
        to.re[lane] = value.re;
        to.im[lane] = value.im;
    }

    // The coefficient's quotient f/w, the lanes whose |w|^2 is unsafe marked
    // (the series divides by c first there).
    template <class Real, class Mask>
    [[gnu::always_inline]] static Complex<Real>
    laneQuotient(Complex<Real> f, double c, Complex<Real> g, double pb, double p, Mask& unsafe) {
        const Complex<Real> w = realQuotientDivisor(f, c, g, pb, p);
        const Real norm = norm2(w);
        unsafe = unsafe || !normInSafeRange(norm);
        return quotientOverNorm(f, w, norm);
    }

    struct ChainValues {
        double d;
        double ratio;
    };
    // The chain of D_n(x) read from the table: it stands at order count as
    // soon as the series reaches that order (its restart is count + 1).
    struct PreparedChain {
        const ChainValues* values;
        long restart;
        double d;
        double ratio;

        void moveTo(long n) {
            if (n < restart) {
                stepTo(n);
            }
        }
        void stepTo(long n) {
            const ChainValues& v = values[static_cast<std::size_t>(n)];
            d = v.d;
            ratio = v.ratio;
        }
    };

    double x_;
    double inverseX_; // 1/x, as the coefficients form it
    int32_t terms_;
    long count_;
    long firstOverflow_ = 0;
    AngularTable angular_;
    OrderArray<double> minusChi_;
    OrderArray<ChainValues> outer_;
};

} // namespace quellis
