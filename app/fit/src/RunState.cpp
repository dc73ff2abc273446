// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/RunState.h"

namespace velmora {

Measured RunState::measuredAt(int t) const {
    Measured measured;
    for (int k = 1; k <= kWavelengths; ++k) {
        measured.iv[k - 1] = measuredV(t, k);
        measured.ih[k - 1] = measuredH(t, k);
    }
    return measured;
}

} // namespace velmora
