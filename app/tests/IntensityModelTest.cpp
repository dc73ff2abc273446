// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/IntensityModel.h"
#include "TestSupport.h"
#include "fit/Match.h"
#include "fit/fast/LaneWidth.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace velmora {
namespace {

// An independent computation of the expected values: the Mie series of a
// homogeneous sphere in long double, after Bohren & Huffman, Absorption and
// Scattering of Light by Small Particles (1983), appendix A (BHMIE): the
// logarithmic derivative D_n(mx) by downward recurrence (eq. 4.89), psi_n
// and chi_n by upward recurrence (eq. 4.59), a_n and b_n from eq. 4.88, and
// the amplitudes S1, S2 of eq. 4.74 with pi_n, tau_n from eq. 4.47.
using Complex = std::complex<long double>;

struct Amplitudes {
    Complex s1;
    Complex s2;
    long double qext; // (2 / x^2) sum (2n + 1) Re(a_n + b_n), eq. 4.62
    long double qsca; // (2 / x^2) sum (2n + 1) (|a_n|^2 + |b_n|^2), eq. 4.61
};

Amplitudes mieSeries(long double x, Complex m, long double theta) {
    const int terms = static_cast<int>(x + 4.0L * std::cbrt(x) + 2.0L) + 10;
    const Complex y = m * x;
    const int start = std::max(terms, static_cast<int>(std::abs(y))) + 30;
    std::vector<Complex> d(start + 1, Complex(0.0L));
    for (int n = start; n >= 1; --n) {
        const Complex nOverY = static_cast<long double>(n) / y;
        d[n - 1] = nOverY - 1.0L / (d[n] + nOverY);
    }
    const long double mu = std::cos(theta);
    long double psi0 = std::cos(x);
    long double psi1 = std::sin(x);
    long double chi0 = -std::sin(x);
    long double chi1 = std::cos(x);
    Complex xi1(psi1, -chi1);
    long double pi0 = 0.0L;
    long double pi1 = 1.0L;
    Amplitudes out{};
    for (int n = 1; n <= terms; ++n) {
        const long double nl = n;
        const long double psi = (2.0L * nl - 1.0L) * psi1 / x - psi0;
        const long double chi = (2.0L * nl - 1.0L) * chi1 / x - chi0;
        const Complex xi(psi, -chi);
        const Complex da = d[n] / m + nl / x;
        const Complex db = m * d[n] + nl / x;
        const Complex a = (da * psi - psi1) / (da * xi - xi1);
        const Complex b = (db * psi - psi1) / (db * xi - xi1);
        const long double pi = pi1;
        const long double tau = nl * mu * pi - (nl + 1.0L) * pi0;
        const long double fn = (2.0L * nl + 1.0L) / (nl * (nl + 1.0L));
        out.s1 += fn * (a * pi + b * tau);
        out.s2 += fn * (a * tau + b * pi);
        out.qext += (2.0L * nl + 1.0L) * std::real(a + b);
        out.qsca += (2.0L * nl + 1.0L) * (std::norm(a) + std::norm(b));
        psi0 = psi1;
        psi1 = psi;
        chi0 = chi1;
        chi1 = chi;
        xi1 = Complex(psi1, -chi1);
        pi1 = ((2.0L * nl + 1.0L) * mu * pi - (nl + 1.0L) * pi0) / nl;
        pi0 = pi;
    }
    out.qext *= 2.0L / (x * x);
    out.qsca *= 2.0L / (x * x);
    return out;
}

// The model intensities I_V = |S1|^2 and I_H = |S2|^2 at 120 degrees (the
// program's angle 2.0933333333333333 rad), computed from the dielectric
// function eps = 1 + wp^2 (w0^2 - E^2) / D + i wp^2 gam E / D with
// D = (w0^2 - E^2)^2 + E^2 gam^2, the photon energy E = h c / (e lambda),
// the refractive index sqrt(eps) and the size parameter 6.28 r / lambda.
struct ReferenceIntensities {
    long double iv;
    long double ih;
};

ReferenceIntensities referenceModel(long double lambda, long double radius, long double gam,
                                    long double wp, long double w0) {
    const long double e = 1.986447461038579e-16L / (1.60217733e-19L * lambda);
    const long double detuning = w0 * w0 - e * e;
    const long double d = detuning * detuning + e * e * gam * gam;
    const Complex eps(1.0L + wp * wp * detuning / d, wp * wp * gam * e / d);
    const Amplitudes s = mieSeries(6.28L * radius / lambda, std::sqrt(eps), 2.0933333333333333L);
    return {std::norm(s.s1), std::norm(s.s2)};
}

TEST(IntensityModelReference, SeriesReproducesPublishedValues) {
    // Du, Applied Optics 43 (2004) 1951, Table 1: x = 1, m = 10 + 10i.
    const Amplitudes du = mieSeries(1.0L, Complex(10.0L, 10.0L), 0.0L);
    EXPECT_NEAR(static_cast<double>(du.qext), 2.532993, 1e-6);
    EXPECT_NEAR(static_cast<double>(du.qsca), 2.049405, 1e-6);
    // Bohren & Huffman (1983): x = 5.213, m = 1.55 at 90 degrees,
    // S11(90)/S11(0) = 0.0124601 and -S12/S11 = 0.230462.
    const long double right = std::acos(-1.0L) / 2.0L;
    const Amplitudes side = mieSeries(5.213L, Complex(1.55L, 0.0L), right);
    const Amplitudes forward = mieSeries(5.213L, Complex(1.55L, 0.0L), 0.0L);
    const long double s11 = (std::norm(side.s1) + std::norm(side.s2)) / 2.0L;
    const long double s12 = (std::norm(side.s2) - std::norm(side.s1)) / 2.0L;
    const long double s11Forward = (std::norm(forward.s1) + std::norm(forward.s2)) / 2.0L;
    EXPECT_NEAR(static_cast<double>(s11 / s11Forward), 0.0124601, 1e-3 * 0.0124601);
    EXPECT_NEAR(static_cast<double>(-s12 / s11), 0.230462, 1e-3 * 0.230462);
}

// The model against the independent series: double arithmetic in the
// library against long double here, so they agree to far better than the
// five digits the listed values below are given to.
TEST(IntensityModelReference, ModelAgreesWithTheIndependentSeries) {
    for (const double w0 : {kDrudeResonance, kLorentsResonance}) {
        for (const double lambda : {457.9, 514.5, 568.2, 647.1}) {
            for (const double radius : {5.0, 20.0, 60.0, 100.0, 200.0}) {
                SCOPED_TRACE("w0 " + std::to_string(w0) + " lambda " + std::to_string(lambda) +
                             " r " + std::to_string(radius));
                const ModelValue model = ModelIntensities({lambda, radius, 1.0, 5.6, w0});
                const ReferenceIntensities reference =
                    referenceModel(lambda, radius, 1.0L, 5.6L, w0);
                ASSERT_EQ(model.fault, FpFault::None);
                EXPECT_NEAR(model.iv, static_cast<double>(reference.iv),
                            1e-9 * static_cast<double>(reference.iv));
                EXPECT_NEAR(model.ih, static_cast<double>(reference.ih),
                            1e-9 * static_cast<double>(reference.ih));
            }
        }
    }
}

ModelValue drude(double radius, double lambda = 457.9) {
    return ModelIntensities({lambda, radius, 1.0, 5.6, kDrudeResonance});
}

ModelValue lorents(double radius) {
    return ModelIntensities({457.9, radius, 1.0, 5.6, kLorentsResonance});
}

void expectRelativelyNear(double actual, double expected, double tolerance) {
    EXPECT_NEAR(actual, expected, std::fabs(expected) * tolerance);
}

// h c / (e lambda) with h c = 1.986447461038579e-16 J nm and
// e = 1.60217733e-19 C: 1239.8424 eV nm / 457.9 nm = 2.707671 eV.
TEST(IntensityModel, PhotonEnergyOfTheFirstWavelength) {
    expectRelativelyNear(photonEnergy(457.9), 2.70767, 2e-6);
}

// The listed values are referenceModel's above, rounded to five digits.
TEST(IntensityModel, DrudeListedValues) {
    const ModelValue small = drude(20.0);
    EXPECT_EQ(small.fault, FpFault::None);
    expectRelativelyNear(small.iv, 0.0031166, 5e-5);
    expectRelativelyNear(small.ih, 0.00079038, 5e-5);
    // So small a sphere scatters H about cos^2(120 degrees) = 1/4 as strongly as V.
    EXPECT_NEAR(small.ih / small.iv, 0.25, 0.01);
    const ModelValue large = drude(100.0);
    expectRelativelyNear(large.iv, 0.51968, 5e-5);
    expectRelativelyNear(large.ih, 0.86249, 5e-5);
}

TEST(IntensityModel, LorentsListedValues) {
    const ModelValue small = lorents(20.0);
    expectRelativelyNear(small.iv, 0.00050815, 5e-5);
    expectRelativelyNear(small.ih, 0.00012989, 5e-5);
    const ModelValue large = lorents(100.0);
    expectRelativelyNear(large.iv, 0.64390, 5e-5);
    expectRelativelyNear(large.ih, 0.52685, 5e-5);
}

TEST(IntensityModel, FaultsAreReportedNotSignalled) {
    // A wavelength of 0 divides by zero in the photon energy.
    EXPECT_EQ(drude(20.0, 0.0).fault, FpFault::DivisionByZero);
    // A negative radius takes the logarithm of a negative size parameter.
    EXPECT_EQ(drude(-20.0).fault, FpFault::InvalidOperation);
    // No damping at the resonance energy: D = 0 and 0/0 in the permittivity.
    EXPECT_EQ(ModelIntensities({457.9, 20.0, 0.0, 5.6, photonEnergy(457.9)}).fault,
              FpFault::InvalidOperation);
    // A huge plasma energy overflows in its square.
    EXPECT_EQ(ModelIntensities({457.9, 20.0, 1.0, 1e200, 0.0}).fault, FpFault::Overflow);
    // A plasma energy of 0 is no fault here: eps = 1, the sphere is the
    // medium itself and scatters (up to rounding) nothing.
    const ModelValue empty = ModelIntensities({457.9, 20.0, 1.0, 0.0, kDrudeResonance});
    EXPECT_EQ(empty.fault, FpFault::None);
    EXPECT_LT(std::fabs(empty.iv), 1e-20);
    EXPECT_LT(std::fabs(empty.ih), 1e-20);
}

TEST(ModelBatch, OneFaultingEvaluationKeepsEveryValueAndFaultOfItsOwn) {
    std::vector<ModelParams> params;
    for (int i = 0; i < 12; ++i) {
        params.push_back({457.9 + 20.0 * i, 20.0 + 7.5 * i, 0.1 * i, 5.6, kDrudeResonance});
    }
    const auto expectOneByOne = [&](const char* what) {
        SCOPED_TRACE(what);
        std::vector<ModelValue> out(params.size());
        modelIntensitiesBatch(params, out);
        for (std::size_t i = 0; i < params.size(); ++i) {
            const ModelValue exact = ModelIntensities(params[i]);
            EXPECT_EQ(out[i].fault, exact.fault) << "evaluation " << i;
            EXPECT_TRUE(std::bit_cast<std::uint64_t>(out[i].iv) ==
                        std::bit_cast<std::uint64_t>(exact.iv))
                << "evaluation " << i;
            EXPECT_TRUE(std::bit_cast<std::uint64_t>(out[i].ih) ==
                        std::bit_cast<std::uint64_t>(exact.ih))
                << "evaluation " << i;
        }
    };
    expectOneByOne("no fault");
    params[5].lambda = 0.0; // division by zero in the photon energy
    expectOneByOne("one division by zero");
    params[9] = {457.9, 20.0, 0.0, 5.6, photonEnergy(457.9)}; // 0 / 0 at resonance
    params[0].wp = 1e200;                                     // overflow of the square
    expectOneByOne("three faults");
    // A radius that is no number raises no flag of its own: the batch must
    // still give the step-by-step evaluation's result.
    params[3].radius = std::numeric_limits<double>::quiet_NaN();
    expectOneByOne("an input that is no number");
}

// The batch of one size against ModelIntensities of every parameter set,
// with the index side's series at each lane width: the same fault, and the
// same bits of both intensities.
void expectOneSizeAsOneByOne(const std::vector<ModelParams>& params) {
    std::vector<RefractiveIndex> indices;
    for (const ModelParams& p : params) {
        indices.push_back(refractiveIndexOf(p.lambda, p.gam, p.wp, p.w0));
    }
    for (const LaneWidth width : availableLaneWidths()) {
        const test::LaneWidthScope scope{width};
        std::vector<ModelValue> out(params.size());
        modelIntensitiesOfOneSize(params, indices, out);
        for (std::size_t i = 0; i < params.size(); ++i) {
            const ModelValue exact = ModelIntensities(params[i]);
            SCOPED_TRACE(testing::Message()
                         << laneWidthName(width) << " evaluation " << i << " lambda "
                         << params[i].lambda << " radius " << params[i].radius << " gam "
                         << params[i].gam << " wp " << params[i].wp);
            EXPECT_EQ(out[i].fault, exact.fault);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(out[i].iv),
                      std::bit_cast<std::uint64_t>(exact.iv));
            EXPECT_EQ(std::bit_cast<std::uint64_t>(out[i].ih),
                      std::bit_cast<std::uint64_t>(exact.ih));
        }
    }
}

// Dampings and plasma energies of one (wavelength, radius).
std::vector<ModelParams> indicesOfOneSize(double lambda, double radius, double w0,
                                          std::mt19937_64& rng) {
    std::uniform_real_distribution<double> gam(0.0, 8.0);
    std::uniform_real_distribution<double> wp(0.5, 12.0);
    std::vector<ModelParams> params;
    for (int i = 0; i < 37; ++i) {
        params.push_back({lambda, radius, gam(rng), wp(rng), w0});
    }
    return params;
}

TEST(ModelBatch, OneSizeGivesEveryValueOfModelIntensities) {
    std::mt19937_64 rng(16);
    std::uniform_real_distribution<double> lambda(300.0, 1200.0);
    for (int c = 0; c < 60; ++c) {
        // Radii from tiny spheres to ones of several hundred size units.
        const double radius = std::exp(std::uniform_real_distribution<double>(-4.0, 9.0)(rng));
        const double w0 = c % 2 == 0 ? kDrudeResonance : kLorentsResonance;
        expectOneSizeAsOneByOne(indicesOfOneSize(lambda(rng), radius, w0, rng));
    }
}

TEST(ModelBatch, OneSizeWithFaultingIndicesAndSizes) {
    std::mt19937_64 rng(61);
    const double lambda = 514.5;
    std::vector<ModelParams> params = indicesOfOneSize(lambda, 60.0, kDrudeResonance, rng);
    // No damping at the resonance: 0/0 in the permittivity.
    params[3] = {lambda, 60.0, 0.0, 5.6, photonEnergy(lambda)};
    // eps = 1 - wp^2/e^2 = 0 exactly: PowCom takes the logarithm of 0.
    params[11] = {lambda, 60.0, 0.0, photonEnergy(lambda), kDrudeResonance};
    // A plasma energy whose square overflows.
    params[20].wp = 1e200;
    ASSERT_EQ(ModelIntensities(params[3]).fault, FpFault::InvalidOperation);
    ASSERT_NE(ModelIntensities(params[11]).fault, FpFault::None);
    ASSERT_EQ(ModelIntensities(params[20]).fault, FpFault::Overflow);
    expectOneSizeAsOneByOne(params);
    // Faulting indices first and last in the batch.
    std::swap(params[0], params[3]);
    std::swap(params.back(), params[11]);
    expectOneSizeAsOneByOne(params);
    // Sizes whose own steps fault or leave the prepared series: chi_n
    // overflows, x overflows, is negative, zero, beyond the tables or no
    // number.
    for (const double radius :
         {1e-290, 1e308, -20.0, 0.0, 1e306, 5e6, std::numeric_limits<double>::quiet_NaN()}) {
        std::vector<ModelParams> sized = params;
        for (ModelParams& p : sized) {
            p.radius = radius;
        }
        expectOneSizeAsOneByOne(sized);
    }
}

} // namespace
} // namespace velmora
