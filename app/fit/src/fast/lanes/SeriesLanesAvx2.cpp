// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled with -mavx2 and called only on processors that run AVX2.
#include "SeriesLanes.h"

namespace velmora {

namespace {
typedef double Lanes4 __attribute__((vector_size(32)));
} // namespace

[[gnu::flatten]] void indexAmplitudesAvx2(const quellis::PreparedSphereSize& size,
                                          std::span<const IndexStart> starts,
                                          std::span<quellis::Amplitudes> out,
                                          std::span<unsigned char> rerun) {
    quellis::PreparedSizeLanes<Lanes4>(size).amplitudes(starts, out, rerun);
}

} // namespace velmora
