// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/MatchKernel.h"

#include "fit/fast/LaneWidth.h"
#include "fit/fast/MatchLanes.h"
#include "fit/fast/WideLanes.h"

#include <cmath>
#include <limits>

namespace velmora {

namespace {

// One candidate at a time: the fallback, and the candidates left over after
// the last whole block of a wider width.
struct ScalarLanes {
    using Value = double;
    using Mask = bool;
    static constexpr int kWidth = 1;

    static Value load(const double* p) { return *p; }
    static Value broadcast(double x) { return x; }
    static void store(double* p, Value v) { *p = v; }
    static Value add(Value a, Value b) { return a + b; }
    static Value sub(Value a, Value b) { return a - b; }
    static Value mul(Value a, Value b) { return a * b; }
    static Value div(Value a, Value b) { return a / b; }
    static Value sqrt(Value a) { return std::sqrt(a); }
    static Value abs(Value a) { return std::fabs(a); }
    static Mask allLanes() { return true; }
    static Mask both(Mask a, Mask b) { return a & b; }
    static Mask finite(Value a) { return std::fabs(a) <= std::numeric_limits<double>::max(); }
    static Mask isZero(Value a) { return a == 0.0; }
    static Value select(Mask m, Value ifSet, Value otherwise) { return m ? ifSet : otherwise; }
    static unsigned bits(Mask m) { return m ? 1u : 0u; }
};

} // namespace

void matchOneExactly(const Measured& measured, const ModelColumns& models, int j,
                     const ScoreColumns& out) {
    std::array<ModelValue, kWavelengths> values{};
    for (int k = 0; k < kWavelengths; ++k) {
        values[k] = {models.iv[k][j], models.ih[k][j], models.fault[k][j]};
    }
    const MatchValue exact = MatchIntensities(measured, values);
    out.mean[j] = exact.mean;
    out.vx[j] = exact.vx;
    out.fault[j] = exact.fault;
}

void mismatchOneExactly(double measuredRatio, const double* iv, const double* ih,
                        const FpFault* faults, int j, const MismatchColumns& out) {
    const PolarizationMismatch exact =
        polarizationMismatch(measuredRatio, {iv[j], ih[j], faults[j]});
    out.value[j] = exact.value;
    out.fault[j] = exact.fault;
}

void matchCandidates(const Measured& measured, const ModelColumns& models, int count,
                     const ScoreColumns& out) {
    int first = 0;
#if defined(VELMORA_SIMD_LANES)
    // The widest blocks first, then the narrower ones for what is left.
    switch (selectedLaneWidth()) {
    case LaneWidth::Avx512:
        first = matchBlocksAvx512(measured, models, first, count, out);
        [[fallthrough]];
    case LaneWidth::Avx2:
        first = matchBlocksAvx2(measured, models, first, count, out);
        break;
    case LaneWidth::Scalar:
        break;
    }
#endif
    lanes::matchBlocks<ScalarLanes>(measured, models, first, count, out);
}

void mismatchCandidates(double measuredRatio, const double* iv, const double* ih,
                        const FpFault* faults, int count, const MismatchColumns& out) {
    int first = 0;
#if defined(VELMORA_SIMD_LANES)
    switch (selectedLaneWidth()) {
    case LaneWidth::Avx512:
        first = mismatchBlocksAvx512(measuredRatio, iv, ih, faults, first, count, out);
        [[fallthrough]];
    case LaneWidth::Avx2:
        first = mismatchBlocksAvx2(measuredRatio, iv, ih, faults, first, count, out);
        break;
    case LaneWidth::Scalar:
        break;
    }
#endif
    lanes::mismatchBlocks<ScalarLanes>(measuredRatio, iv, ih, faults, first, count, out);
}

} // namespace velmora
