// SPDX-License-Identifier: GPL-3.0-or-later
// The fast engine's scoring at every lane width against the one-candidate
// functions the direct engine uses: random and hostile model values,
// candidate counts that are no multiple of the widths, and single faulting
// candidates anywhere in a block.
#include "TestSupport.h"

#include "fit/fast/MatchKernel.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace velmora {
namespace {

// Scores with the parameter's width.
class LaneScoringTest : public ::testing::TestWithParam<LaneWidth> {
protected:
    test::LaneWidthScope width{GetParam()};
};

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// Model columns of `count` candidates, every wavelength's values in one
// vector.
struct Columns {
    explicit Columns(int count) {
        for (int k = 0; k < kWavelengths; ++k) {
            iv[k].assign(count, 1.0);
            ih[k].assign(count, 1.0);
            fault[k].assign(count, FpFault::None);
        }
    }
    ModelColumns view() const {
        ModelColumns c{};
        for (int k = 0; k < kWavelengths; ++k) {
            c.iv[k] = iv[k].data();
            c.ih[k] = ih[k].data();
            c.fault[k] = fault[k].data();
        }
        return c;
    }
    std::array<ModelValue, kWavelengths> candidate(int j) const {
        std::array<ModelValue, kWavelengths> values{};
        for (int k = 0; k < kWavelengths; ++k) {
            values[k] = {iv[k][j], ih[k][j], fault[k][j]};
        }
        return values;
    }
    std::array<std::vector<double>, kWavelengths> iv;
    std::array<std::vector<double>, kWavelengths> ih;
    std::array<std::vector<FpFault>, kWavelengths> fault;
};

// Scores the columns in one batch and requires every candidate's mean, Vx
// and fault to be MatchIntensities's, bit for bit.
void expectBatchMatchesOneByOne(const Measured& measured, const Columns& columns, int count) {
    std::vector<double> mean(count, -7.0);
    std::vector<double> vx(count, -7.0);
    std::vector<FpFault> fault(count, FpFault::Overflow);
    matchCandidates(measured, columns.view(), count, {mean.data(), vx.data(), fault.data()});
    for (int j = 0; j < count; ++j) {
        const MatchValue exact = MatchIntensities(measured, columns.candidate(j));
        EXPECT_EQ(fault[j], exact.fault) << "candidate " << j << " of " << count;
        if (exact.fault == FpFault::None) {
            EXPECT_TRUE(sameBits(mean[j], exact.mean)) << "candidate " << j << " of " << count;
            EXPECT_TRUE(sameBits(vx[j], exact.vx)) << "candidate " << j << " of " << count;
        }
    }
}

Measured randomMeasured(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> value(0.1, 10.0);
    Measured m;
    for (int k = 0; k < kWavelengths; ++k) {
        m.iv[k] = value(rng);
        m.ih[k] = value(rng);
    }
    return m;
}

Columns randomColumns(std::mt19937_64& rng, int count) {
    std::uniform_real_distribution<double> value(1e-4, 2.0);
    Columns c(count);
    for (int k = 0; k < kWavelengths; ++k) {
        for (int j = 0; j < count; ++j) {
            c.iv[k][j] = value(rng);
            c.ih[k][j] = value(rng);
        }
    }
    return c;
}

TEST_P(LaneScoringTest, EveryCountScoresAsOneByOne) {
    std::mt19937_64 rng(7);
    // 0..41 covers every remainder of 4 and 8 and several whole blocks; 101
    // is the damping row of the joint search.
    for (int count = 0; count <= 41; ++count) {
        expectBatchMatchesOneByOne(randomMeasured(rng), randomColumns(rng, count), count);
    }
    expectBatchMatchesOneByOne(randomMeasured(rng), randomColumns(rng, 101), 101);
}

TEST_P(LaneScoringTest, OneFaultingCandidateAnywhereInABlock) {
    std::mt19937_64 rng(11);
    const Measured measured = randomMeasured(rng);
    constexpr int kCount = 19;
    // Each kind of fault of the scoring, put in turn at every position:
    // the neighbours in the same block must keep their own scores.
    const std::vector<std::pair<const char*, void (*)(Columns&, Measured&, int)>> faults = {
        {"model intensity 0: division by zero",
         [](Columns& c, Measured&, int j) { c.ih[2][j] = 0.0; }},
        {"faulted model evaluation",
         [](Columns& c, Measured&, int j) {
             c.iv[1][j] = 0.0;
             c.ih[1][j] = 0.0;
             c.fault[1][j] = FpFault::Overflow;
         }},
        {"0 / 0: invalid",
         [](Columns& c, Measured& m, int j) {
             m.iv[3] = 0.0;
             c.iv[3][j] = 0.0;
         }},
        {"huge ratio: overflow in the squares",
         [](Columns& c, Measured&, int j) { c.iv[0][j] = 1e-300; }},
    };
    for (const auto& [name, makeFault] : faults) {
        for (int position = 0; position < kCount; ++position) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(position));
            Columns columns = randomColumns(rng, kCount);
            Measured m = measured;
            makeFault(columns, m, position);
            // A measured value of 0 set for the 0 / 0 leaves the others'
            // ratios finite: their model values are far from 0.
            expectBatchMatchesOneByOne(m, columns, kCount);
        }
    }
}

TEST_P(LaneScoringTest, ZeroAndNegativeMeansAreNoFaults) {
    std::mt19937_64 rng(13);
    Measured zeros;
    const Columns columns = randomColumns(rng, 13);
    expectBatchMatchesOneByOne(zeros, columns, 13);
    std::vector<double> mean(13);
    std::vector<double> vx(13);
    std::vector<FpFault> fault(13);
    matchCandidates(zeros, columns.view(), 13, {mean.data(), vx.data(), fault.data()});
    EXPECT_EQ(vx[12], 100.0);
    EXPECT_EQ(fault[12], FpFault::None);

    Measured negative = randomMeasured(rng);
    for (double& v : negative.iv) {
        v = -v;
    }
    for (double& h : negative.ih) {
        h = -h;
    }
    expectBatchMatchesOneByOne(negative, columns, 13);
}

TEST_P(LaneScoringTest, ZeroMeanWithOverflowingSquaresIsAFault) {
    // Ratios +1e300 and -1e300 cancel to a mean of exactly 0, whose Vx is
    // 100 without a division, while their squares overflow.
    Measured measured;
    measured.iv[0] = 1.0;
    measured.ih[0] = 1.0;
    Columns columns(11);
    columns.iv[0][6] = 1e-300;
    columns.ih[0][6] = -1e-300;
    ASSERT_EQ(MatchIntensities(measured, columns.candidate(6)).fault, FpFault::Overflow);
    expectBatchMatchesOneByOne(measured, columns, 11);
}

TEST_P(LaneScoringTest, MismatchOfEveryCountAndFault) {
    std::mt19937_64 rng(17);
    std::uniform_real_distribution<double> value(1e-3, 3.0);
    for (int count = 0; count <= 27; ++count) {
        std::vector<double> iv(count);
        std::vector<double> ih(count);
        std::vector<FpFault> faults(count, FpFault::None);
        for (int j = 0; j < count; ++j) {
            iv[j] = value(rng);
            ih[j] = value(rng);
        }
        if (count > 5) {
            ih[count / 2] = -iv[count / 2]; // I_H + I_V = 0: no guard, a fault
            faults[count / 3] = FpFault::InvalidOperation;
            iv[count / 3] = 0.0;
            ih[count / 3] = 0.0;
        }
        const double measuredRatio = value(rng) - 1.5;
        std::vector<double> out(count, -7.0);
        std::vector<FpFault> outFault(count, FpFault::Overflow);
        mismatchCandidates(measuredRatio, iv.data(), ih.data(), faults.data(), count,
                           {out.data(), outFault.data()});
        for (int j = 0; j < count; ++j) {
            const PolarizationMismatch exact =
                polarizationMismatch(measuredRatio, {iv[j], ih[j], faults[j]});
            EXPECT_EQ(outFault[j], exact.fault) << "candidate " << j << " of " << count;
            if (exact.fault == FpFault::None) {
                EXPECT_TRUE(sameBits(out[j], exact.value)) << "candidate " << j << " of " << count;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWidth, LaneScoringTest, ::testing::ValuesIn(availableLaneWidths()),
                         [](const auto& info) { return std::string(laneWidthName(info.param)); });

TEST(LaneWidth, ScalarAlwaysAndTheWidestByDefault) {
    const std::vector<LaneWidth> widths = availableLaneWidths();
    ASSERT_FALSE(widths.empty());
    EXPECT_EQ(widths.front(), LaneWidth::Scalar);
    EXPECT_EQ(selectedLaneWidth(), widths.back());
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx512f")) {
        EXPECT_EQ(widths.back(), LaneWidth::Avx512);
    }
#endif
}

} // namespace
} // namespace velmora
