// SPDX-License-Identifier: GPL-3.0-or-later
// The refractive indices of a damping grid's distinct values at one
// wavelength and plasma energy, which the scorers compute once and share
// among the radii they evaluate.
#pragma once

#include "fit/IntensityModel.h"
#include "fit/fast/GridTable.h"

#include <span>

namespace velmora {

// out[d] for every distinct damping d: refractiveIndexOf its value, or the
// damping's own fault for a faulted point (it faults before its model is
// evaluated). out holds dampings.distinctCount() values.
void dampingIndices(const GridTable& dampings, double lambda, double wp, double w0,
                    std::span<RefractiveIndex> out);

} // namespace velmora
