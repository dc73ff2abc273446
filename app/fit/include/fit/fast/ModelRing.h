// SPDX-License-Identifier: GPL-3.0-or-later
// Model values of the radii a search window can hold, one slot per radius
// with a fixed number of values each. Radius index r lives in slot
// r % slots: a window that only moves forward and is never wider than the
// ring reuses the slots of the radii it has left behind, so the table stays
// small however far the radii grow.
#pragma once

#include "fit/FpFault.h"

#include <cstddef>
#include <vector>

namespace velmora {

class ModelRing {
public:
    ModelRing(int slots, int valuesPerSlot);

    // Takes the slot of radius index r; true when it held no values of r
    // yet, which the caller then computes.
    bool claim(int r);

    double* iv(int r) { return &iv_[offset(r)]; }
    double* ih(int r) { return &ih_[offset(r)]; }
    FpFault* faults(int r) { return &faults_[offset(r)]; }

private:
    std::size_t offset(int r) const {
        return static_cast<std::size_t>(r % slots_) * valuesPerSlot_;
    }

    int slots_;
    std::size_t valuesPerSlot_;
    std::vector<int> radiusOfSlot_;
    std::vector<double> iv_;
    std::vector<double> ih_;
    std::vector<FpFault> faults_;
};

} // namespace velmora
