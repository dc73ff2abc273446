// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled with -mavx512f and called only on processors that run AVX-512F.
#include "SeriesLanes.h"

namespace velmora {

namespace {
typedef double Lanes8 __attribute__((vector_size(64)));
} // namespace

[[gnu::flatten]] void indexAmplitudesAvx512(const quellis::PreparedSphereSize& size,
                                            std::span<const IndexStart> starts,
                                            std::span<quellis::Amplitudes> out,
                                            std::span<unsigned char> rerun) {
    quellis::PreparedSizeLanes<Lanes8>(size).amplitudes(starts, out, rerun);
}

} // namespace velmora
