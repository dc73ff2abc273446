// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled with -mavx512f and called only on processors that run AVX-512F.
#include "fit/fast/MatchLanes.h"
#include "fit/fast/WideLanes.h"

#include <cfloat>
#include <immintrin.h>

namespace velmora {

namespace {

struct Avx512Lanes {
    using Value = __m512d;
    using Mask = __mmask8; // bit i set when lane i holds
    static constexpr int kWidth = 8;

    static Value load(const double* p) { return _mm512_loadu_pd(p); }
    static Value broadcast(double x) { return _mm512_set1_pd(x); }
    static void store(double* p, Value v) { _mm512_storeu_pd(p, v); }
    static Value add(Value a, Value b) { return _mm512_add_pd(a, b); }
    static Value sub(Value a, Value b) { return _mm512_sub_pd(a, b); }
    static Value mul(Value a, Value b) { return _mm512_mul_pd(a, b); }
    static Value div(Value a, Value b) { return _mm512_div_pd(a, b); }
    // With every lane selected: the unmasked form trips a false warning of
    // GCC 12 about its undefined pass-through operand.
    static Value sqrt(Value a) { return _mm512_maskz_sqrt_pd(0xFF, a); }
    static Value abs(Value a) { return _mm512_abs_pd(a); }
    static Mask allLanes() { return 0xFF; }
    static Mask both(Mask a, Mask b) { return static_cast<Mask>(a & b); }
    static Mask finite(Value a) {
        return _mm512_cmp_pd_mask(abs(a), broadcast(DBL_MAX), _CMP_LE_OQ);
    }
    static Mask isZero(Value a) { return _mm512_cmp_pd_mask(a, _mm512_setzero_pd(), _CMP_EQ_OQ); }
    static Value select(Mask m, Value ifSet, Value otherwise) {
        return _mm512_mask_blend_pd(m, otherwise, ifSet);
    }
    static unsigned bits(Mask m) { return m; }
};

} // namespace

int matchBlocksAvx512(const Measured& measured, const ModelColumns& models, int first, int count,
                      const ScoreColumns& out) {
    return lanes::matchBlocks<Avx512Lanes>(measured, models, first, count, out);
}

int mismatchBlocksAvx512(double measuredRatio, const double* iv, const double* ih,
                         const FpFault* faults, int first, int count, const MismatchColumns& out) {
    return lanes::mismatchBlocks<Avx512Lanes>(measuredRatio, iv, ih, faults, first, count, out);
}

} // namespace velmora
