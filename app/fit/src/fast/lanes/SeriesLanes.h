// SPDX-License-Identifier: GPL-3.0-or-later
// The index side of the sphere series of one prepared size for several
// indices at once, one index in each lane of a vector of doubles (the
// library's PreparedSizeLanes, which every lane width gives bit for bit).
// Each width has its own translation unit compiled for its instruction set,
// its vector type and everything it calls inlined into its entry point, so
// that no code compiled for a wide instruction set is shared with the rest
// of the program.
#pragma once

#include "quellis/series/PreparedSizeLanes.h"

#include <span>

namespace velmora {

using IndexStart = quellis::PreparedSphereSize::IndexStart;

// S1 and S2 of each index m into `out` and rerun[i] cleared, where the
// selected lane width is a vector one; rerun[i] is set (and out[i] is not
// the series' value) where index i must take the series one by one. With
// the scalar width nothing is written.
void indexAmplitudesInLanes(const quellis::PreparedSphereSize& size,
                            std::span<const quellis::Cx> ms, std::span<quellis::Amplitudes> out,
                            std::span<unsigned char> rerun);

void indexAmplitudesAvx2(const quellis::PreparedSphereSize& size,
                         std::span<const IndexStart> starts, std::span<quellis::Amplitudes> out,
                         std::span<unsigned char> rerun);
void indexAmplitudesAvx512(const quellis::PreparedSphereSize& size,
                           std::span<const IndexStart> starts, std::span<quellis::Amplitudes> out,
                           std::span<unsigned char> rerun);

} // namespace velmora
