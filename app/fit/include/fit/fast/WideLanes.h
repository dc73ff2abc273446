// SPDX-License-Identifier: GPL-3.0-or-later
// The scoring in whole blocks of four (AVX2) and eight (AVX-512) lanes, each
// compiled for its instruction set in a translation unit of its own and
// called only when the processor runs it. Each scores candidates first ..
// count - 1 in whole blocks and returns the first candidate left over.
#pragma once

#include "fit/fast/MatchKernel.h"

namespace velmora {

int matchBlocksAvx2(const Measured& measured, const ModelColumns& models, int first, int count,
                    const ScoreColumns& out);
int matchBlocksAvx512(const Measured& measured, const ModelColumns& models, int first, int count,
                      const ScoreColumns& out);

int mismatchBlocksAvx2(double measuredRatio, const double* iv, const double* ih,
                       const FpFault* faults, int first, int count, const MismatchColumns& out);
int mismatchBlocksAvx512(double measuredRatio, const double* iv, const double* ih,
                         const FpFault* faults, int first, int count, const MismatchColumns& out);

} // namespace velmora
