// SPDX-License-Identifier: GPL-3.0-or-later
// The scoring of MatchKernel.h written once for any lane width. `Lanes`
// holds `kWidth` doubles, one candidate each, and offers the IEEE
// operations the scalar scoring uses: every lane performs exactly those
// operations in the same order (no fused multiply-add, no reassociation, no
// approximate reciprocal or root), so every width gives the same bits.
// Each translation unit instantiates it with its own lane type, compiled for
// its own instruction set; the lane types have internal linkage, so no
// instantiation compiled for a wide instruction set can stand in for
// another.
#pragma once

#include "fit/fast/MatchKernel.h"

namespace velmora::lanes {

// Scores candidates first .. first + kWidth - 1 (the scoring of
// matchCandidates) and returns the bit mask of the lanes whose arithmetic
// left the finite range: those the caller scores again one by one.
template <typename Lanes>
unsigned matchBlock(const Measured& measured, const ModelColumns& models, int first,
                    const ScoreColumns& out) {
    using Value = typename Lanes::Value;
    const Value channels = Lanes::broadcast(2.0 * kWavelengths);
    Value rV[kWavelengths];
    Value rH[kWavelengths];
    typename Lanes::Mask finite = Lanes::allLanes();
    for (int k = 0; k < kWavelengths; ++k) {
        rV[k] = Lanes::div(Lanes::broadcast(measured.iv[k]), Lanes::load(models.iv[k] + first));
        rH[k] = Lanes::div(Lanes::broadcast(measured.ih[k]), Lanes::load(models.ih[k] + first));
        finite = Lanes::both(finite, Lanes::both(Lanes::finite(rV[k]), Lanes::finite(rH[k])));
    }
    Value sum = Lanes::broadcast(0.0);
    for (int k = 0; k < kWavelengths; ++k) {
        sum = Lanes::add(sum, Lanes::add(rV[k], rH[k]));
    }
    const Value mean = Lanes::div(sum, channels);
    Value squares = Lanes::broadcast(0.0);
    for (int k = 0; k < kWavelengths; ++k) {
        const Value dV = Lanes::sub(mean, rV[k]);
        const Value dH = Lanes::sub(mean, rH[k]);
        squares = Lanes::add(squares, Lanes::add(Lanes::mul(dV, dV), Lanes::mul(dH, dH)));
    }
    const Value err = Lanes::div(Lanes::sqrt(squares), channels);
    const Value hundred = Lanes::broadcast(100.0);
    const Value vx =
        Lanes::select(Lanes::isZero(mean), hundred, Lanes::div(Lanes::mul(err, hundred), mean));
    Lanes::store(out.mean + first, mean);
    Lanes::store(out.vx + first, vx);
    finite = Lanes::both(finite, Lanes::both(Lanes::finite(mean),
                                             Lanes::both(Lanes::finite(err), Lanes::finite(vx))));
    return ~Lanes::bits(finite) & ((1u << Lanes::kWidth) - 1u);
}

// The mismatch of mismatchCandidates for candidates first .. first +
// kWidth - 1; returns the mask of the lanes to score again one by one.
template <typename Lanes>
unsigned mismatchBlock(double measuredRatio, const double* iv, const double* ih, int first,
                       double* value) {
    using Value = typename Lanes::Value;
    const Value modelV = Lanes::load(iv + first);
    const Value modelH = Lanes::load(ih + first);
    const Value difference = Lanes::sub(modelH, modelV);
    const Value total = Lanes::add(modelH, modelV);
    const Value ratio = Lanes::div(difference, total);
    const Value mismatch = Lanes::abs(Lanes::sub(Lanes::broadcast(measuredRatio), ratio));
    Lanes::store(value + first, mismatch);
    const typename Lanes::Mask finite = Lanes::both(
        Lanes::finite(difference), Lanes::both(Lanes::finite(total), Lanes::finite(mismatch)));
    return ~Lanes::bits(finite) & ((1u << Lanes::kWidth) - 1u);
}

// Scores candidates first .. count - 1 in whole blocks of kWidth, re-scoring
// the flagged lanes one by one; returns the first candidate left over.
template <typename Lanes>
int matchBlocks(const Measured& measured, const ModelColumns& models, int first, int count,
                const ScoreColumns& out) {
    for (; first + Lanes::kWidth <= count; first += Lanes::kWidth) {
        for (int lane = 0; lane < Lanes::kWidth; ++lane) {
            out.fault[first + lane] = FpFault::None;
        }
        unsigned suspects = matchBlock<Lanes>(measured, models, first, out);
        for (int lane = 0; suspects != 0; ++lane, suspects >>= 1) {
            if (suspects & 1u) {
                matchOneExactly(measured, models, first + lane, out);
            }
        }
    }
    return first;
}

// As matchBlocks, for the mismatch of the polarisation pass.
template <typename Lanes>
int mismatchBlocks(double measuredRatio, const double* iv, const double* ih, const FpFault* faults,
                   int first, int count, const MismatchColumns& out) {
    for (; first + Lanes::kWidth <= count; first += Lanes::kWidth) {
        for (int lane = 0; lane < Lanes::kWidth; ++lane) {
            out.fault[first + lane] = FpFault::None;
        }
        unsigned suspects = mismatchBlock<Lanes>(measuredRatio, iv, ih, first, out.value);
        for (int lane = 0; suspects != 0; ++lane, suspects >>= 1) {
            if (suspects & 1u) {
                mismatchOneExactly(measuredRatio, iv, ih, faults, first + lane, out);
            }
        }
    }
    return first;
}

} // namespace velmora::lanes
