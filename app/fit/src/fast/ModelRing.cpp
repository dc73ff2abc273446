// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/ModelRing.h"

namespace velmora {

ModelRing::ModelRing(int slots, int valuesPerSlot)
    : slots_(slots), valuesPerSlot_(static_cast<std::size_t>(valuesPerSlot)),
      radiusOfSlot_(slots, -1), iv_(slots * valuesPerSlot_), ih_(slots * valuesPerSlot_),
      faults_(slots * valuesPerSlot_, FpFault::None) {}

bool ModelRing::claim(int r) {
    int& held = radiusOfSlot_[r % slots_];
    if (held == r) {
        return false;
    }
    held = r;
    return true;
}

} // namespace velmora
