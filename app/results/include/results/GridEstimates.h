// SPDX-License-Identifier: GPL-3.0-or-later
// The model's parameters of every time point as the grid search found them:
// the winner's radius, spread, concentration and non-agreement, the fitted plasma
// energy and damping where the mode fits them and the set values where it
// holds them fixed. A time point a refinement already estimated is kept.
#pragma once

#include "fit/RunState.h"

namespace velmora {

void fillGridEstimates(RunState& run);

} // namespace velmora
