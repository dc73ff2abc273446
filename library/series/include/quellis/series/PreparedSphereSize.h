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
// The index side also runs for several indices at once in vector lanes
// (PreparedSizeLanes.h), from each index's start (indexStart).
#pragma once

#include "quellis/series/SphereSeries.h"

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

    // What the lanes (PreparedSizeLanes.h) take from one index m: the terms of its coefficients,
    // and its chain of D_n(m x) standing at order count, 1/(m x) for its steps. Where the chain
    // starts at order count from the scaled convergents of its fraction (fractionInLanes), the
    // lanes sum them, from rho = m x and |rho|, and d and ratio are left out. `lanesServe` is false
    // for an index whose steps divide by m x rather than multiply by its inverse (a real or an
    // extreme m x).
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
        if (upwardSuffices(modulus, count_ + 1)) {
            // A huge index, whose chain starts at order count (upward, or
            // from the fraction there): amplitudes() takes it.
            IndexStart start{indexTermsOf(m), {}, {}, {}, false, false, rho, modulus};
            withIndexChain(rho, modulus, terms_, count_, [&](auto& inner) {
                for (long n = inner.restart; n >= count_; --n) {
                    inner.moveTo(n);
                }
                start.inverseRho = inner.step.inverseRho();
                start.d = inner.d;
                start.ratio = inner.ratio;
            });
            return start;
        }
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

    // S1 and S2 for the index m.
    Amplitudes amplitudes(Cx m) const {
        const Cx x = real(x_);
        const Cx rho = mul(x, m);
        const double rhoModulus = abs(rho);
        OrderArray<MieCoefficient> coefficients(count_);
        withIndexChain(rho, rhoModulus, terms_, count_, [&](auto& inner) {
            const MieCoefficients coefficient(x, m);
            PreparedChain outer{outer_.data(), count_ + 1, 0.0, 0.0};
            realSizeCoefficientsFrom(coefficient, x_, count_, inner, outer, minusChi_.data(),
                                     firstOverflow_, coefficients.data());
        });
        AmplitudeAccumulator sums;
        for (long n = 1; n <= count_; ++n) {
            angular_.addTerm(sums, n, coefficients[static_cast<std::size_t>(n)]);
        }
        return sums.sums();
    }

    // S11, S12, S33 and S34 for the index m.
    ScatteringElements elements(Cx m) const { return scatteringElements(amplitudes(m)); }

private:
    template <class Real> friend class PreparedSizeLanes;

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
