// SPDX-License-Identifier: GPL-3.0-or-later
// How many candidates the fast engine scores at once: one (plain scalar
// code), four (AVX2) or eight (AVX-512); what the whole blocks of a batch
// leave over is scored by the narrower widths. Every width gives bit-identical
// scores: each lane performs the scalar scoring's IEEE operations in the
// same order. The widest the processor and the build offer is chosen when a
// run first asks; the tests and the benchmarks force each width in turn.
#pragma once

#include <vector>

namespace velmora {

enum class LaneWidth { Scalar = 1, Avx2 = 4, Avx512 = 8 };

// The widths this build and this processor can run, narrowest first;
// Scalar always.
std::vector<LaneWidth> availableLaneWidths();

// The width the fast engine scores with: the one forced last, else the
// widest available.
LaneWidth selectedLaneWidth();

// Makes the fast engine score with `width` from the next batch on; false
// (and nothing changed) when the width is not available.
bool forceLaneWidth(LaneWidth width);

// "scalar", "avx2" or "avx512".
const char* laneWidthName(LaneWidth width);

} // namespace velmora
