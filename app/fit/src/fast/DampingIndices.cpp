// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/DampingIndices.h"

namespace velmora {

void dampingIndices(const GridTable& dampings, double lambda, double wp, double w0,
                    std::span<RefractiveIndex> out) {
    for (int d = 0; d < dampings.distinctCount(); ++d) {
        const GridPoint& damping = dampings.point(dampings.firstIndexOf(d));
        out[d] = damping.fault != FpFault::None ? RefractiveIndex{0.0, 0.0, damping.fault}
                                                : refractiveIndexOf(lambda, damping.value, wp, w0);
    }
}

} // namespace velmora
