// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled with -mavx2 and called only on processors that run AVX2.
#include "fit/fast/MatchLanes.h"
#include "fit/fast/WideLanes.h"

#include <cfloat>
#include <immintrin.h>

namespace velmora {

namespace {

struct Avx2Lanes {
    using Value = __m256d;
    using Mask = __m256d; // all bits set in a lane that holds
    static constexpr int kWidth = 4;

    static Value load(const double* p) { return _mm256_loadu_pd(p); }
    static Value broadcast(double x) { return _mm256_set1_pd(x); }
    static void store(double* p, Value v) { _mm256_storeu_pd(p, v); }
    static Value add(Value a, Value b) { return _mm256_add_pd(a, b); }
    static Value sub(Value a, Value b) { return _mm256_sub_pd(a, b); }
    static Value mul(Value a, Value b) { return _mm256_mul_pd(a, b); }
    static Value div(Value a, Value b) { return _mm256_div_pd(a, b); }
    static Value sqrt(Value a) { return _mm256_sqrt_pd(a); }
    static Value abs(Value a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }
    static Mask allLanes() { return _mm256_castsi256_pd(_mm256_set1_epi64x(-1)); }
    static Mask both(Mask a, Mask b) { return _mm256_and_pd(a, b); }
    static Mask finite(Value a) { return _mm256_cmp_pd(abs(a), broadcast(DBL_MAX), _CMP_LE_OQ); }
    static Mask isZero(Value a) { return _mm256_cmp_pd(a, _mm256_setzero_pd(), _CMP_EQ_OQ); }
    static Value select(Mask m, Value ifSet, Value otherwise) {
        return _mm256_blendv_pd(otherwise, ifSet, m);
    }
    static unsigned bits(Mask m) { return static_cast<unsigned>(_mm256_movemask_pd(m)); }
};

} // namespace

int matchBlocksAvx2(const Measured& measured, const ModelColumns& models, int first, int count,
                    const ScoreColumns& out) {
    return lanes::matchBlocks<Avx2Lanes>(measured, models, first, count, out);
}

int mismatchBlocksAvx2(double measuredRatio, const double* iv, const double* ih,
                       const FpFault* faults, int first, int count, const MismatchColumns& out) {
    return lanes::mismatchBlocks<Avx2Lanes>(measuredRatio, iv, ih, faults, first, count, out);
}

} // namespace velmora
